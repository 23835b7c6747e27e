#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "core/text/language.h"
#include "core/workspace/workspace.h"
#include "gui/app/main_frame.h"
#include "gui/plot/plot_panel.h"
#include "gui/rixs/rixs_dialog.h"
#include "gui/rixs/workbench_captions.h"
#include "gui/xafs/conv_xafs_dialog.h"
#include "gui/xrf/xrf_dialog.h"
#include "gui_test_support.h"

using namespace zephalo;
using core::text::Language;
using test::press;

Q_DECLARE_METATYPE(zephalo::core::text::Language)

namespace {

// The program's language for one picture, Japanese again after it.
struct LanguageScope {
    explicit LanguageScope(Language language) { core::text::setLanguage(language); }
    ~LanguageScope() { core::text::setLanguage(Language::Japanese); }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;
};

}  // namespace

// The README's pictures, taken on request (ZEPHALO_PICTURES names the folder
// they go to) on a work space that zephalo-cli carried through the demo up
// to "compare" (scripts/readme_pictures.sh prepares both). Each window runs
// the buttons the README names and must then show its curves with axes.
class ReadmePicturesTest : public QObject {
    Q_OBJECT

    QString m_folder;

    // The first panel without curves or energy ticks, by name; empty when
    // every panel has both.
    static QString undrawnPanel(const QWidget& window) {
        for (const auto* panel : window.findChildren<gui::PlotPanel*>()) {
            if (panel->picture().empty() || panel->energyTicks().values.size() < 2) {
                return panel->objectName() + QStringLiteral(" (empty)");
            }
        }
        return {};
    }
    void save(QWidget& window, const char* name) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        QVERIFY(window.grab().save(QDir(m_folder).filePath(QString::fromLatin1(name))));
    }

private slots:
    void initTestCase() {
        m_folder = qEnvironmentVariable("ZEPHALO_PICTURES");
        if (m_folder.isEmpty()) QSKIP("pictures only on request (scripts/readme_pictures.sh)");
    }

    // The main window and the workbench in both languages; the English
    // pictures' names end in "_en".
    static void addLanguages() {
        QTest::addColumn<Language>("language");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("ja") << Language::Japanese << QString();
        QTest::newRow("en") << Language::English << QStringLiteral("_en");
    }

    void mainWindow_data() { addLanguages(); }
    void mainWindow() {
        QFETCH(Language, language);
        QFETCH(QString, suffix);
        const LanguageScope scope(language);
        gui::CMainFrame frame(core::Workspace(core::Workspace::defaultDirectory()));
        save(frame, qPrintable(QStringLiteral("main_window%1.png").arg(suffix)));
    }

    void edge() {
        gui::CConvXAFS dialog(core::Workspace(core::Workspace::defaultDirectory()));
        dialog.resize(760, 560);
        press(dialog, QStringLiteral("XAFS（吸収補正用）の読込"));
        dialog.findChild<QComboBox*>()->setCurrentText(QStringLiteral("Fe K-edge"));
        press(dialog, QStringLiteral("XAFS情報の確認"));
        QVERIFY2(undrawnPanel(dialog).isEmpty(), qPrintable(undrawnPanel(dialog)));
        save(dialog, "walk_edge.png");
    }

    void fluorescence() {
        gui::CXRF dialog(core::Workspace(core::Workspace::defaultDirectory()));
        press(dialog, QStringLiteral("蛍光X線の読込"));
        press(dialog, QStringLiteral("ローレンツ関数設定確認"));
        press(dialog, QStringLiteral("ローレンツ関数でフィット"));
        press(dialog, QStringLiteral("R因子計算"));
        QVERIFY2(undrawnPanel(dialog).isEmpty(), qPrintable(undrawnPanel(dialog)));
        save(dialog, "walk_xrf.png");
    }

    void workbench_data() { addLanguages(); }
    void workbench() {
        QFETCH(Language, language);
        QFETCH(QString, suffix);
        const LanguageScope scope(language);
        namespace captions = gui::rixs::captions;
        gui::CRIXSXAFS dialog(core::Workspace(core::Workspace::defaultDirectory()));
        dialog.resize(1300, 700);
        // Shown first: the axes take their ticks from the panels' sizes.
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        press(dialog, gui::toQt(captions::kLoad));
        press(dialog, gui::toQt(captions::kFinish));
        dialog.findChild<QLineEdit*>(QStringLiteral("editExcitation"))
            ->setText(QStringLiteral("7114"));
        press(dialog, gui::toQt(captions::kCompute));
        press(dialog, gui::toQt(captions::kCompare));
        QVERIFY2(undrawnPanel(dialog).isEmpty(), qPrintable(undrawnPanel(dialog)));
        if (language == Language::Japanese) save(dialog, "workbench_compare.png");
        // Both components and a correction peak at the missing pre-edge peak.
        dialog.findChild<QRadioButton*>(QStringLiteral("radioModeAB"))->setChecked(true);
        dialog.findChild<QLineEdit*>(QStringLiteral("editPeakCentre"))
            ->setText(QStringLiteral("7110"));
        dialog.findChild<QLineEdit*>(QStringLiteral("editPeakAmplitude"))
            ->setText(QStringLiteral("0.5"));
        dialog.findChild<QLineEdit*>(QStringLiteral("editPeakWidth"))
            ->setText(QStringLiteral("1.5"));
        press(dialog, gui::toQt(captions::kShowPeak));
        QVERIFY2(undrawnPanel(dialog).isEmpty(), qPrintable(undrawnPanel(dialog)));
        save(dialog, qPrintable(QStringLiteral("workbench%1.png").arg(suffix)));
    }
};

QTEST_MAIN(ReadmePicturesTest)
#include "readme_pictures_test.moc"
