#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/plot/series.h"
#include "gui/widgets/file_dialogs.h"

class QAction;
class QWidget;

namespace zephalo::gui {

// The curves a plot draws, in physical units, as its dialog's model holds them.
using SeriesProvider = std::function<std::vector<core::plot::Series>()>;

// Saving one plot widget: the context-menu actions "画像として保存…" (the
// widget as drawn, PNG or SVG) and "データとして保存…" (the provider's
// series as text). Every file is written whole or not at all through the
// storage module; the outcome is told in the window's message panel, or in a
// message box when the window has none.
class PlotExporter : public QObject {
    Q_OBJECT
public:
    using Chooser = std::function<std::optional<ExportTarget>(QWidget* parent, bool image)>;

    PlotExporter(QWidget* plot, SeriesProvider series);

    // Replaces the save dialog (tests hand a fixed target or a cancel).
    void setChooser(Chooser chooser) { m_choose = std::move(chooser); }

    // The two actions, as the context menu offers them.
    QAction* imageAction() const { return m_image; }
    QAction* dataAction() const { return m_data; }

    // The file bytes of the plot as drawn now, at the widget's size.
    std::string imageBytes(ExportFormat format) const;

    void saveImage();
    void saveData();

private:
    void save(const ExportTarget& target, const std::string& bytes);
    void tell(const std::string& text, bool failed);

    QWidget* m_plot = nullptr;
    SeriesProvider m_series;
    Chooser m_choose;
    QAction* m_image = nullptr;
    QAction* m_data = nullptr;
};

// Gives `plot` the two save actions in its context menu (the widget switches
// to Qt::ActionsContextMenu); the exporter is a child of the plot. Works for
// any widget that draws itself, a PlotPanel or a map window's plot alike.
PlotExporter* attachExport(QWidget* plot, SeriesProvider series);

}  // namespace zephalo::gui
