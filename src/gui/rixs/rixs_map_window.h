#pragma once

#include <QDialog>
#include <QVector>
#include <atomic>
#include <cstddef>
#include <optional>
#include <thread>

#include "plot/series.h"
#include "rixs/rixs_plane.h"
#include "workspace/workspace.h"

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
class RixsMapWindow : public QDialog {
    Q_OBJECT
public:
    enum class Axis { Emission, Transfer };

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
    const core::rixs::RixsPlane& plane() const { return m_plane; }
    Axis axis() const { return m_axis; }
    // The point the cuts go through: row (Ω) and column (ω) of the plane.
    std::optional<std::pair<std::size_t, std::size_t>> cutPoint() const { return m_cut; }
    // In energy-transfer mode, the Ω − ω of the cursor line, along which the
    // lower cut runs.
    double cutTransfer() const { return m_cutTransfer; }
    bool running() const { return m_worker.joinable(); }

    // Starts the plane over the range boxes (the "マップ計算" button).
    void startCompute();

signals:
    // The plane was computed (or refused) and drawn.
    void computeEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMapPlot();
    void setRunning(bool running);
    void showProgress();
    void finish(core::Status status, core::rixs::RixsPlane plane);
    void stopWorker();
    void setAxis(Axis axis);
    // Redraws the colour image and the axes for the current axis.
    void drawMap();
    // The plane row and column under map coordinates (x in the current axis).
    std::optional<std::pair<std::size_t, std::size_t>> cellAt(double x, double omega) const;
    void moveCrosshair(double x, double omega);
    void drawCuts();
    void mouseMoved(QMouseEvent* event);
    void mouseClicked(QMouseEvent* event);
    // What "データとして保存…" writes, in eV and intensity: the plane as one
    // block per Ω over ω, and each cut as drawn (the spectrum cut over ω or
    // Ω − ω as the axis switch shows it).
    std::vector<core::plot::Series> planeSeries() const;
    std::vector<core::plot::Series> spectrumCutSeries() const;
    std::vector<core::plot::Series> excitationCutSeries() const;

    core::Workspace m_workspace;
    std::optional<double> m_measuredOmega;
    core::rixs::RixsPlane m_plane;
    Axis m_axis = Axis::Emission;
    std::optional<std::pair<std::size_t, std::size_t>> m_cut;
    bool m_cutFixed = false;
    double m_cutTransfer = 0.0;

    std::jthread m_worker;
    std::atomic<bool> m_stop{false};
    std::atomic<std::size_t> m_rowsDone{0};
    std::atomic<bool> m_progressPosted{false};
    std::size_t m_rows = 0;

    QLineEdit* m_editFrom = nullptr;
    QLineEdit* m_editTo = nullptr;
    QLineEdit* m_editStep = nullptr;
    QPushButton* m_buttonCompute = nullptr;
    QPushButton* m_buttonStop = nullptr;
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
};

}  // namespace zephalo::gui
