#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run.h"
#include "gui/plot/plot_panel.h"
#include "gui/rixs/rixs_dialog.h"

// The workbench with its correction peak dragged on the demo: one mouse move
// on the selective XAFS panel to the three panels painted again (the live
// spectrum, its comparison and the R factor computed on the way).
namespace {

using zephalo::gui::CRIXSXAFS;
using zephalo::gui::PlotPanel;

// The demo story up to a comparison at 7114 eV, by the command line.
std::filesystem::path demoWorkspace() {
    const std::filesystem::path demo = std::filesystem::path(ZEPHALO_SOURCE_DIR) / "data" / "demo";
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zephalo-drag-bench-" + std::to_string(std::random_device{}()));
    const std::vector<std::vector<std::string>> steps{
        {"create"},
        {"import", "conv-xafs", (demo / "Fe2O3_ConvXAFS.DAT").string()},
        {"import", "xrf", (demo / "Fe2O3_XRF_Kbeta.DAT").string()},
        {"import", "rixs", (demo / "Fe2O3_RIXS_7114eV.DAT").string()},
        {"import", "selective", (demo / "Fe2O3.xspec").string()},
        {"edge", "--edge", "Fe K-edge"},
        {"xrf", "--A", "7046,0.967,12", "--B", "7054.1,0.447,7.07", "--C", "7057.3,0.271,2.22",
         "--D", "7058.4,0.025,0.427", "--rfactor", "--store"},
        {"load-selective"},
        {"finish"},
        {"compute", "--omega", "7114"},
        {"compare"}};
    for (const auto& step : steps) {
        std::vector<std::string> words{"zephalo-cli", "--workspace", dir.string()};
        words.insert(words.end(), step.begin(), step.end());
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        std::ostringstream out, err;
        if (zephalo::cli::run(static_cast<int>(argv.size()), argv.data(), out, err) != 0) {
            throw std::runtime_error(err.str());
        }
    }
    return dir;
}

void press(const QWidget& dialog, const char* name) {
    dialog.findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

void BM_WorkbenchDragToRepaint(benchmark::State& state) {
    const auto dir = demoWorkspace();
    {
        CRIXSXAFS dialog{zephalo::core::Workspace(dir)};
        dialog.show();
        press(dialog, "buttonLoad");
        dialog.findChild<QLineEdit*>(QStringLiteral("editExcitation"))->setText("7114");
        press(dialog, "buttonCompare");
        dialog.findChild<QLineEdit*>(QStringLiteral("editPeakCentre"))->setText("7110.5");
        dialog.findChild<QLineEdit*>(QStringLiteral("editPeakAmplitude"))->setText("0.02");
        dialog.findChild<QLineEdit*>(QStringLiteral("editPeakWidth"))->setText("1");
        press(dialog, "buttonShowPeak");
        auto* xafs = dialog.findChild<PlotPanel*>(QStringLiteral("panelXafs"));
        auto* theory = dialog.findChild<PlotPanel*>(QStringLiteral("panelTheory"));
        auto* experiment = dialog.findChild<PlotPanel*>(QStringLiteral("panelExperiment"));
        const QRect area = xafs->plotArea();
        // The grip: the peak's line at 7110.5 eV in the 7104 .. 7144 eV window.
        const QPointF grip(
            area.left() + area.width() * (110.0 / 220.0 + (6.5 / 40.0 - 0.5) * 200.0 / 220.0),
            area.center().y());
        auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, xafs->mapToGlobal(at), Qt::LeftButton, buttons, {});
            QApplication::sendEvent(xafs, &event);
        };
        send(QEvent::MouseButtonPress, grip, Qt::LeftButton);
        auto* rFactor = dialog.findChild<QLineEdit*>(QStringLiteral("editRFactor"));
        const QString before = rFactor->text();
        send(QEvent::MouseMove, grip + QPointF(3, -5), Qt::LeftButton);
        if (rFactor->text() == before) state.SkipWithError("the drag did not reach the peak");
        // Offscreen windows are never exposed: each panel paints into an
        // image of its own size instead, as into the screen's backing store.
        std::vector<std::pair<PlotPanel*, QImage>> canvases;
        for (PlotPanel* panel : {xafs, theory, experiment}) {
            canvases.emplace_back(panel,
                                  QImage(panel->size(), QImage::Format_ARGB32_Premultiplied));
        }
        int step = 0;
        for (auto _ : state) {
            const QPointF at = grip + QPointF(step % 40 - 20, -(step % 30));
            ++step;
            send(QEvent::MouseMove, at, Qt::LeftButton);
            for (auto& [panel, image] : canvases) panel->render(&image);
        }
        send(QEvent::MouseButtonRelease, grip, Qt::NoButton);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WorkbenchDragToRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
