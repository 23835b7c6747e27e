#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <optional>

#include "core/plot/series.h"
#include "core/workspace/records.h"
#include "gui/plot/export_captions.h"
#include "gui/plot/plot_export.h"
#include "gui/plot/plot_panel.h"
#include "gui/rixs/rixs_dialog.h"
#include "gui/xafs/conv_xafs_dialog.h"
#include "gui/xrf/xrf_dialog.h"
#include "gui_test_support.h"

using zephalo::core::Workspace;
using zephalo::gui::CConvXAFS;
using zephalo::gui::ExportFormat;
using zephalo::gui::ExportTarget;
using zephalo::gui::PlotExporter;
using zephalo::gui::PlotPanel;
using zephalo::gui::toQt;
using zephalo::test::colourCount;
using zephalo::test::panelText;

Q_DECLARE_METATYPE(ExportFormat)

namespace captions = zephalo::gui::plot::captions;

// Saving the conventional XAFS panel after a read: its curve is the measured
// spectrum normalised to a maximum of 1 (the largest value is 2.5).
class PlotExportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<CConvXAFS> m_dialog;
    PlotPanel* m_plot = nullptr;
    PlotExporter* m_exporter = nullptr;

    static constexpr double kEnergies[] = {7000, 7050, 7100, 7150, 7200};
    static constexpr double kAbsorption[] = {0.5, 1, 2.5, 2.2, 2};

    std::filesystem::path path(const QString& name) const {
        return std::filesystem::path(m_dir->filePath(name).toStdString());
    }
    // Points the exporter's save dialog at `target` and triggers one action.
    void save(std::optional<ExportTarget> target, bool image) {
        m_exporter->setChooser([target, image](QWidget*, bool askedImage) {
            return askedImage == image ? target : std::nullopt;
        });
        (image ? m_exporter->imageAction() : m_exporter->dataAction())->trigger();
    }
    QStringList folderEntries() const {
        return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_ws = std::make_unique<Workspace>(m_dir->path().toStdString());
        std::string measured;
        for (int i = 0; i < 5; ++i)
            measured += zephalo::core::formatRecord({kEnergies[i], kAbsorption[i]});
        QVERIFY(zephalo::core::writeTextFileAtomic(
            path(QStringLiteral("RIXS_Calculation_Parameters.DAT")),
            "1.25\t7120\t7020\t7065\t0.1\t1\t7.9e-09\n"));
        QVERIFY(zephalo::core::writeTextFileAtomic(path(QStringLiteral("Conventional_XAFS.DAT")),
                                                   measured));
        m_dialog = std::make_unique<CConvXAFS>(*m_ws);
        m_dialog->show();
        zephalo::test::press(*m_dialog, QStringLiteral("XAFS（吸収補正用）の読込"));
        m_plot = m_dialog->findChild<PlotPanel*>();
        QVERIFY(m_plot);
        m_exporter = m_plot->findChild<PlotExporter*>();
        QVERIFY(m_exporter);
    }
    void cleanup() {
        m_dialog.reset();
        m_ws.reset();
        m_dir.reset();
    }

    // The panel's context menu offers both actions.
    void contextMenuOffersBothSaves() {
        QCOMPARE(m_plot->contextMenuPolicy(), Qt::ActionsContextMenu);
        QStringList texts;
        for (const QAction* action : m_plot->actions()) texts << action->text();
        QVERIFY(texts.contains(toQt(captions::kSaveImage)));
        QVERIFY(texts.contains(toQt(captions::kSaveData)));
    }

    // Every spectrum panel of the other steps carries its own exporter.
    void everyStepPanelOffersTheSaves() {
        zephalo::gui::CXRF xrf(*m_ws);
        zephalo::gui::CRIXSXAFS workbench(*m_ws);
        for (const QWidget* dialog :
             {static_cast<QWidget*>(&xrf), static_cast<QWidget*>(&workbench)}) {
            const auto panels = dialog->findChildren<PlotPanel*>();
            QVERIFY(!panels.isEmpty());
            for (const PlotPanel* panel : panels) {
                const auto* exporter = panel->findChild<PlotExporter*>();
                QVERIFY(exporter);
                QVERIFY(panel->actions().contains(exporter->imageAction()));
                QVERIFY(panel->actions().contains(exporter->dataAction()));
            }
        }
        QCOMPARE(workbench.findChildren<PlotPanel*>().size(), 3);
    }

    void savesThePanel_data() {
        QTest::addColumn<ExportFormat>("format");
        QTest::addColumn<QString>("name");
        QTest::newRow("png") << ExportFormat::Png << QStringLiteral("panel.png");
        QTest::newRow("svg") << ExportFormat::Svg << QStringLiteral("panel.svg");
        QTest::newRow("data") << ExportFormat::Data << QStringLiteral("panel.txt");
    }
    void savesThePanel() {
        QFETCH(ExportFormat, format);
        QFETCH(QString, name);
        const auto file = path(name);
        save(ExportTarget{file, format}, format != ExportFormat::Data);
        QVERIFY2(panelText(*m_dialog).contains(QString::fromStdString(file.string())),
                 qPrintable(panelText(*m_dialog)));
        QFile saved(QString::fromStdString(file.string()));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();

        if (format == ExportFormat::Png) {
            QImage image;
            QVERIFY(image.loadFromData(bytes, "PNG"));
            QCOMPARE(image.size(), m_plot->size() * m_plot->devicePixelRatio());
            QVERIFY(colourCount(image, QColor(255, 0, 0)) > 50);  // the red curve
        } else if (format == ExportFormat::Svg) {
            QVERIFY(bytes.startsWith("<?xml") || bytes.contains("<svg"));
            QVERIFY(bytes.contains("</svg>"));
            QVERIFY(bytes.contains("#ff0000"));  // the red curve's pen
        } else {
            std::vector<zephalo::core::plot::Series> series;
            const auto status =
                zephalo::core::plot::parseSeries(bytes.toStdString(), "panel.txt", series);
            QVERIFY2(status.ok(), status.error().c_str());
            QCOMPARE(series.size(), std::size_t(1));
            QCOMPARE(series[0].x.size(), std::size_t(5));
            for (int i = 0; i < 5; ++i) {
                QVERIFY(zephalo::test::near(series[0].x[i], kEnergies[i], 1e-9));
                QVERIFY(zephalo::test::near(series[0].y[i], kAbsorption[i] / 2.5, 5e-6));
            }
        }
    }

    // A target that cannot be written (its folder is missing, or it is a
    // folder) is named in the message and leaves no file, whole or partial.
    void unwritablePathIsNamedAndLeavesNoFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("image");
        QTest::newRow("missingFolderImage") << QStringLiteral("missing/panel.png") << true;
        QTest::newRow("missingFolderData") << QStringLiteral("missing/panel.txt") << false;
        QTest::newRow("folderImage") << QStringLiteral("taken") << true;
        QTest::newRow("folderData") << QStringLiteral("taken") << false;
    }
    void unwritablePathIsNamedAndLeavesNoFile() {
        QFETCH(QString, name);
        QFETCH(bool, image);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("taken")));
        const QStringList before = folderEntries();
        const auto file = path(name);
        save(ExportTarget{file, image ? ExportFormat::Png : ExportFormat::Data}, image);
        const QString message = panelText(*m_dialog);
        QVERIFY2(message.contains(QString::fromStdString(file.string())), qPrintable(message));
        QVERIFY(!message.contains(QStringLiteral("保存しました")));
        QCOMPARE(folderEntries(), before);
        QVERIFY(QDir(m_dir->filePath(QStringLiteral("taken"))).isEmpty());
    }

    // Cancelling the save dialog writes nothing and keeps the message.
    void cancelWritesNothing() {
        const QString message = panelText(*m_dialog);
        const QStringList before = folderEntries();
        save(std::nullopt, true);
        save(std::nullopt, false);
        QCOMPARE(panelText(*m_dialog), message);
        QCOMPARE(folderEntries(), before);
    }
};

QTEST_MAIN(PlotExportTest)
#include "plot_export_test.moc"
