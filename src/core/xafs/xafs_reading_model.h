#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/workspace/status.h"
#include "core/workspace/workspace.h"

// The selective XAFS import: one button per source (one component, the two
// steps of a two-component import, general three-column data). Each brings the
// chosen file into SelectiveXAFS_for_Reading_Org.DAT (the first step of two
// components into SelectiveXAFS_for_Reading_Org_2_1.DAT) and returns the text
// of the message panel. A refused import writes nothing.
namespace zephalo::core::xafs {

class XafsReadingModel {
public:
    explicit XafsReadingModel(Workspace workspace);

    // The message panel's text when the dialog opens.
    static std::string_view openingText();

    // The refusal of every import while the work-space folder does not exist
    // yet, checked before any file is chosen; nullopt when imports may run.
    std::optional<Report> workspaceRefusal() const;

    Report importOneComponent(const std::filesystem::path& file) const;
    Report importFirstOfTwo(const std::filesystem::path& file) const;
    // The refusal of the second step when the work space or the first
    // component is missing, checked before any file is chosen; nullopt when
    // the step may go on.
    std::optional<Report> secondStepRefusal() const;
    Report importSecondOfTwo(const std::filesystem::path& file) const;
    Report importGeneral(const std::filesystem::path& file) const;

private:
    // Success text with the work-space folder named as it really is.
    std::string inWorkspace(std::string_view text) const;

    Workspace m_workspace;
};

}  // namespace zephalo::core::xafs
