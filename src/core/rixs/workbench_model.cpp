#include "rixs/workbench_model.h"

#include <utility>

// Placeholder bodies until the workbench operations land.
namespace zephalo::core::rixs {

namespace {
Report notYet() { return Report::refused("not built yet"); }
}  // namespace

WorkbenchModel::WorkbenchModel(Workspace workspace) : m_workspace(std::move(workspace)) {}
Report WorkbenchModel::load(const WorkbenchBoxes& typed) { m_boxes = typed; return notYet(); }
Report WorkbenchModel::clear(const WorkbenchBoxes& typed) { m_boxes = typed; return notYet(); }
Report WorkbenchModel::changeDisplay(const WorkbenchBoxes& typed) { m_boxes = typed; return notYet(); }
std::optional<Report> WorkbenchModel::pick(int, int, const WorkbenchBoxes& typed) { m_boxes = typed; return std::nullopt; }
Report WorkbenchModel::showPeak(const WorkbenchBoxes& typed) { m_boxes = typed; return notYet(); }
Report WorkbenchModel::applyCorrection(const WorkbenchBoxes& typed) { m_boxes = typed; return notYet(); }
Report WorkbenchModel::storeCorrection(const WorkbenchBoxes& typed) { m_boxes = typed; return notYet(); }
Report WorkbenchModel::refresh(const WorkbenchBoxes& typed) { m_boxes = typed; return notYet(); }
Report WorkbenchModel::finish(const WorkbenchBoxes& typed) { m_boxes = typed; return notYet(); }
std::vector<plot::Curve> WorkbenchModel::xafsCurves(DisplayMode) const { return {}; }
std::vector<plot::Curve> WorkbenchModel::theoryCurves(bool) const { return {}; }
std::vector<plot::Curve> WorkbenchModel::experimentCurves(bool) const { return {}; }
bool WorkbenchModel::hasXafs() const { return false; }
Status storedBoxes(const Workspace&, WorkbenchBoxes&) { return Status::failure("not built yet"); }

}  // namespace zephalo::core::rixs
