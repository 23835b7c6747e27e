#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "core/text/language.h"
#include "core/workspace/file_names.h"
#include "core/workspace/history.h"
#include "core/workspace/step.h"
#include "core/workspace/workspace.h"
#include "core/workspace/workspace_setup.h"
#include "gui/app/about_dialog.h"
#include "gui/app/app_texts.h"
#include "gui/app/main_frame.h"
#include "gui/rixs/rixs_dialog.h"
#include "gui/rixs/rixs_map_window.h"
#include "gui/rixs/workbench_captions.h"
#include "gui/tools/average_dialog.h"
#include "gui/tools/fit_dialog.h"
#include "gui/tools/optim_dialog.h"
#include "gui/xafs/conv_xafs_dialog.h"
#include "gui/xafs/xafs_captions.h"
#include "gui/xafs/xafs_reading_dialog.h"
#include "gui/xrf/xrf_dialog.h"

using namespace zephalo;
namespace texts = zephalo::gui::texts;

using zephalo::core::text::Language;

Q_DECLARE_METATYPE(std::function<QWidget*(const zephalo::core::Workspace&)>)
Q_DECLARE_METATYPE(zephalo::core::text::Language)

// Every window of the program, in Japanese and in English, fits a 1366 x 768
// laptop screen (its smallest size leaves room for the window's title bar and
// the desktop's panel) and shows each caption whole.
class WindowSizesTest : public QObject {
    Q_OBJECT

    // Title bar and a desktop panel together.
    static constexpr int kDecorations = 68;
    static constexpr QSize kScreen{1366, 768};

    std::unique_ptr<QTemporaryDir> m_dir;

    // Every window in both languages, each as it opens on a fresh work space.
    static void addWindows() {
        using Make = std::function<QWidget*(const core::Workspace&)>;
        QTest::addColumn<Language>("language");
        QTest::addColumn<Make>("make");
        const std::pair<Language, const char*> languages[] = {{Language::Japanese, "ja"},
                                                              {Language::English, "en"}};
        const std::pair<const char*, Make> windows[] = {
            {"main", [](const auto& ws) { return new gui::CMainFrame(ws); }},
            {"about", [](const auto&) { return new gui::CAboutDlg(); }},
            {"selective", [](const auto& ws) { return new gui::CXAFSReading(ws); }},
            {"edge", [](const auto& ws) { return new gui::CConvXAFS(ws); }},
            {"xrf", [](const auto& ws) { return new gui::CXRF(ws); }},
            {"workbench", [](const auto& ws) { return new gui::CRIXSXAFS(ws); }},
            {"average", [](const auto& ws) { return new gui::CAverage(ws); }},
            {"optimise", [](const auto& ws) { return new gui::COptim(ws); }},
            {"fit", [](const auto& ws) { return new gui::CFit(ws); }},
            {"map", [](const auto& ws) { return new gui::RixsMapWindow(ws, std::nullopt); }},
            // The map with the measured map, the difference and R per Ω under it.
            {"map comparison",
             [](const auto& ws) {
                 auto* window = new gui::RixsMapWindow(ws, std::nullopt);
                 window->findChild<QWidget*>(QStringLiteral("comparisonRow"))->show();
                 return window;
             }},
        };
        for (const auto& [language, code] : languages) {
            for (const auto& [name, make] : windows)
                QTest::addRow("%s %s", name, code) << language << make;
        }
    }

    // A work space whose undo and redo buttons name the steps with the
    // longest captions: "XAFS（吸収補正用）の読込" to undo, "別の実験値と比較" to redo.
    static void longestTitles(const core::Workspace& workspace) {
        const auto step = [&workspace](const core::text::Text& title, auto operation) {
            QVERIFY(core::runStep(workspace, [&] {
                        workspace.describeStep({std::string(title.source()), {}});
                        return operation();
                    }).done);
        };
        const auto write = [&workspace](std::string_view file) {
            const core::PairSpectrum spectrum{{7050, 0.2}, {7058, 1}};
            return core::Report::from(workspace.write(file, spectrum), "");
        };
        step(texts::kCreateCaption, [&] { return core::createWorkspace(workspace); });
        step(gui::xafs::captions::kRead, [&] { return write(core::files::kExperimentEmission); });
        step(gui::rixs::captions::kCompareAnother,
             [&] { return write(core::files::kConventionalXafs); });
        QVERIFY(core::undoStep(workspace).done);
    }

    std::unique_ptr<QWidget> open(Language language,
                                  const std::function<QWidget*(const core::Workspace&)>& make) {
        core::text::setLanguage(language);
        m_dir = std::make_unique<QTemporaryDir>();
        const core::Workspace workspace(m_dir->path().toStdString());
        longestTitles(workspace);
        std::unique_ptr<QWidget> window(make(workspace));
        window->show();
        QCoreApplication::processEvents();
        return window;
    }

    // A caption's shortcut mark "&" takes no room; "&&" shows one "&".
    static QString shown(QString text) {
        return text.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
            .remove(QLatin1Char('&'))
            .replace(QStringLiteral("\x01"), QStringLiteral("&"));
    }

    // The visible captions of `window` narrower than their text: buttons,
    // radios and check boxes narrower than their size hint, labels that do
    // not wrap narrower than their text, group boxes narrower than their title.
    static QStringList clipped(const QWidget& window) {
        QStringList found;
        const auto report = [&found](const QWidget& w, const QString& text, int need) {
            found << QStringLiteral("%1 \"%2\": %3 < %4")
                         .arg(QString::fromLatin1(w.metaObject()->className()), text)
                         .arg(w.width())
                         .arg(need);
        };
        for (const auto* w : window.findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&window)) continue;
            if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
                if (!b->text().isEmpty() && b->width() < b->sizeHint().width())
                    report(*b, b->text(), b->sizeHint().width());
            } else if (const auto* l = qobject_cast<const QLabel*>(w)) {
                if (l->wordWrap() || l->text().isEmpty() || l->textFormat() == Qt::RichText)
                    continue;
                const int need = l->fontMetrics()
                                     .boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX),
                                                   Qt::TextShowMnemonic, l->text())
                                     .width();
                if (l->contentsRect().width() - 2 * l->margin() < need) report(*l, l->text(), need);
            } else if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
                const int need =
                    g->fontMetrics().horizontalAdvance(shown(g->title())) + 2 * kGroupTitleMargin;
                if (!g->title().isEmpty() && g->width() < need) report(*g, g->title(), need);
            }
        }
        return found;
    }

    // The visible texts of `window` holding kana or kanji: its title, the
    // captions of its labels, buttons and group boxes, its message panel.
    static QStringList japaneseTexts(const QWidget& window) {
        static const QRegularExpression japanese(
            QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}]"));
        QStringList texts{window.windowTitle()};
        for (const auto* w : window.findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&window)) continue;
            if (const auto* b = qobject_cast<const QAbstractButton*>(w)) texts << b->text();
            if (const auto* l = qobject_cast<const QLabel*>(w)) texts << l->text();
            if (const auto* g = qobject_cast<const QGroupBox*>(w)) texts << g->title();
            if (const auto* e = qobject_cast<const QPlainTextEdit*>(w)) texts << e->toPlainText();
        }
        return texts.filter(japanese);
    }

    // The room a group box's frame leaves beside its title, at least.
    static constexpr int kGroupTitleMargin = 4;

private slots:
    void cleanup() { core::text::setLanguage(Language::Japanese); }

    void minimumSizeFitsALaptop_data() { addWindows(); }
    void minimumSizeFitsALaptop() {
        QFETCH(Language, language);
        QFETCH(std::function<QWidget*(const core::Workspace&)>, make);
        const auto window = open(language, make);
        const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize());
        const QString shown =
            QStringLiteral("%1 x %2").arg(smallest.width()).arg(smallest.height());
        QVERIFY2(smallest.width() <= kScreen.width(), qPrintable(shown));
        QVERIFY2(smallest.height() <= kScreen.height() - kDecorations, qPrintable(shown));
        // It opens no larger than the laptop's screen either.
        QVERIFY2(window->height() <= kScreen.height() - kDecorations,
                 qPrintable(QString::number(window->height())));
        QVERIFY(window->width() <= kScreen.width());
    }

    // No caption is cut off, neither as the window opens nor at its
    // smallest size: the layouts make room for the longer English texts.
    // An English window shows no Japanese.
    void captionsNotClipped_data() { addWindows(); }
    void captionsNotClipped() {
        QFETCH(Language, language);
        QFETCH(std::function<QWidget*(const core::Workspace&)>, make);
        const auto window = open(language, make);
        QStringList found = clipped(*window);
        window->resize(window->minimumSizeHint().expandedTo(window->minimumSize()));
        QCoreApplication::processEvents();
        found << clipped(*window);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
        // In English no Japanese text is left, the opening messages included.
        if (language == Language::English) {
            const QStringList japanese = japaneseTexts(*window);
            QVERIFY2(japanese.isEmpty(), qPrintable(japanese.join(QStringLiteral("\n"))));
        }
    }
};

QTEST_MAIN(WindowSizesTest)
#include "window_sizes_test.moc"
