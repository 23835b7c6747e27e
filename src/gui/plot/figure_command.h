#pragma once

#include <filesystem>
#include <optional>

#include "core/plot/projection.h"
#include "core/rixs/rixs_plane.h"
#include "core/workspace/status.h"

// Figures drawn without a window, for zephalo-cli. The interface is free of
// Qt so that the commands can take these writers without Qt; each starts an
// offscreen application of its own when the program has none.
namespace zephalo::gui {

// A panel's picture with its axes and legend, titled with its heading.
core::Status writePanelFigure(const core::plot::Picture& picture, const std::filesystem::path& file,
                              int width, int height);

// The RIXS plane as a colour map over emission and excitation energy, with
// its colour scale; the measured spectrum's excitation energy marked when
// given.
core::Status writeMapFigure(const core::rixs::RixsPlane& plane, std::optional<double> measured,
                            const std::filesystem::path& file, int width, int height);

}  // namespace zephalo::gui
