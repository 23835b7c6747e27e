#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>

#include "core/rixs/plane_view.h"
#include "core/workspace/workspace.h"
#include "gui/rixs/map_comparison_panels.h"
#include "gui/widgets/step_worker.h"

class QCPColorMap;
class QCPColorScale;
class QCPItemStraightLine;
class QCPItemText;
class QCustomPlot;
class QLineEdit;
class QMouseEvent;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QLabel;

namespace zephalo::gui {

class MessagePanel;

// The RIXS map window: the calculated RIXS spectrum at every excitation
// energy of a range, drawn as a colour image over emission energy (or energy
// transfer Ω − ω) and excitation energy, with a crosshair and the two cuts
// through the point under it (the spectrum at one Ω, the intensity at one ω
// over Ω). A click fixes the cuts, the next click lets them follow again.
// The plane is computed on a worker thread; the window stays responsive.
// What is drawn comes from the plane view; the window only draws it.
class RixsMapWindow : public QDialog {
    Q_OBJECT
public:
    // `measuredOmega`: the excitation energy of the measured RIXS spectrum,
    // marked on the map when given.
    RixsMapWindow(const core::Workspace& workspace, std::optional<double> measuredOmega,
                  QWidget* parent = nullptr);
    ~RixsMapWindow() override;

    // --- For drawing and export --------------------------------------------
    // The map with its colour scale, and the two cut panels.
    QCustomPlot* mapPlot() const { return m_map; }
    QCustomPlot* spectrumCutPlot() const { return m_spectrumCut; }
    QCustomPlot* excitationCutPlot() const { return m_excitationCut; }
    // The plane last computed (empty before the first one): totals over Ω
    // (rows) and ω (columns), physical units.
    const core::rixs::RixsPlane& plane() const { return m_view.plane(); }
    core::rixs::PlaneAxis axis() const { return m_view.axis(); }
    // The cell the cuts go through.
    std::optional<core::rixs::PlaneCell> cutPoint() const { return m_view.cut(); }
    bool running() const { return m_worker.running(); }

    // Starts the plane over the range boxes (the "マップ計算" button).
    void startCompute();
    // Starts the comparison with the measured map (the "測定マップと比較"
    // button): the plane at its excitation energies, the measured map and
    // the difference beside it, the R factor per Ω.
    void startCompare();
    const MapComparisonPanels& comparisonPanels() const { return m_panels; }

signals:
    // The plane was computed (or refused) and drawn.
    void computeEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMapPlot();
    void setRunning(bool running);
    void showProgress(std::size_t done, std::size_t rows);
    void finish(const core::Report& report);
    void setAxis(core::rixs::PlaneAxis axis);
    // Redraws the colour image and the axes for the current axis.
    void drawMap();
    void moveCrosshair(double x, double omega);
    void drawCuts();
    // The comparison's panels shown or hidden with the comparison.
    void showComparison(bool shown);
    // The map coordinates of the mouse; nullopt outside the map's axes.
    std::optional<std::pair<double, double>> mapPoint(QMouseEvent* event) const;
    void mouseMoved(QMouseEvent* event);
    void mouseClicked(QMouseEvent* event);

    core::Workspace m_workspace;
    std::optional<double> m_measuredOmega;
    core::rixs::PlaneView m_view;
    // The plane of the running computation, handed to the view when it ends.
    core::rixs::RixsPlane m_computed;
    // The running comparison's result, and whether the worker runs one.
    core::rixs::MapComparison m_compared;
    bool m_comparing = false;

    QLineEdit* m_editFrom = nullptr;
    QLineEdit* m_editTo = nullptr;
    QLineEdit* m_editStep = nullptr;
    QPushButton* m_buttonCompute = nullptr;
    QPushButton* m_buttonStop = nullptr;
    QPushButton* m_buttonCompare = nullptr;
    QWidget* m_comparisonRow = nullptr;
    QProgressBar* m_progress = nullptr;
    QRadioButton* m_radioEmission = nullptr;
    QRadioButton* m_radioTransfer = nullptr;
    QLabel* m_cursorLabel = nullptr;
    MessagePanel* m_message = nullptr;

    QCustomPlot* m_map = nullptr;
    QCPColorMap* m_colorMap = nullptr;
    QCPColorScale* m_colorScale = nullptr;
    QCPItemStraightLine* m_crossX = nullptr;
    QCPItemStraightLine* m_crossY = nullptr;
    QCPItemStraightLine* m_measuredLine = nullptr;
    QCPItemText* m_measuredLabel = nullptr;
    QCustomPlot* m_spectrumCut = nullptr;
    QCustomPlot* m_excitationCut = nullptr;
    MapComparisonPanels m_panels;

    // Last member: destroyed first, so the computation has stopped and
    // joined before anything it uses goes away.
    StepWorker m_worker;
};

}  // namespace zephalo::gui
