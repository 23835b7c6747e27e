#include <charconv>
#include <optional>
#include <string>

#include "cli/cli_support.h"
#include "cli/cli_texts.h"
#include "core/workspace/gates.h"
#include "core/workspace/records.h"
#include "core/xafs/conv_xafs_model.h"
#include "core/xafs/edge_table.h"
#include "core/xafs/xafs_reading_model.h"

namespace zephalo::cli {

namespace {

using core::xafs::ConvXafsModel;
using core::xafs::XafsReadingModel;

// An edge label exactly as listed, or a table index 0-42.
std::optional<int> edgeFromText(const std::string& text) {
    if (const auto byLabel = core::xafs::edgeIndexOf(text)) return byLabel;
    int index = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (!core::xafs::edgeAt(index)) return std::nullopt;
    return index;
}

const CLI::Validator& edgeText() {
    static const CLI::Validator validator(
        [](std::string& text) -> std::string {
            return edgeFromText(text)
                       ? std::string()
                       : "not an edge label (such as \"Fe K-edge\") or index 0-42: " + text;
        },
        "LABEL_OR_INDEX");
    return validator;
}

struct ImportCommand {
    const char* name;
    core::text::Text help;
    core::Report (XafsReadingModel::*run)(const std::filesystem::path&) const;
};

}  // namespace

void addXafsCommands(CLI::App& app, CLI::App& import, Context& context) {
    static const ImportCommand kImports[] = {
        {"selective", texts::kSelectiveHelp, &XafsReadingModel::importOneComponent},
        {"selective-first", texts::kSelectiveFirstHelp, &XafsReadingModel::importFirstOfTwo},
        {"selective-second", texts::kSelectiveSecondHelp, &XafsReadingModel::importSecondOfTwo},
        {"selective-general", texts::kSelectiveGeneralHelp, &XafsReadingModel::importGeneral},
    };
    for (const auto& command : kImports) {
        auto* sub = import.add_subcommand(command.name, std::string(command.help));
        auto file = std::make_shared<std::string>();
        context.fileOption(sub->add_option("FILE", *file, "the chosen file"))->required();
        sub->callback([&context, file, run = command.run] {
            context.step([&](const core::Workspace& workspace) {
                const XafsReadingModel model(workspace);
                return (model.*run)(core::pathFromText(*file));
            });
        });
    }

    auto* edge = app.add_subcommand(
        "edge", "conventional XAFS: read, select the edge, type the core energy, confirm");
    auto edgeOption = std::make_shared<std::string>();
    auto energyOption = std::make_shared<std::string>();
    auto readOnly = std::make_shared<bool>(false);
    edge->add_flag("--read-only", *readOnly, texts::kEdgeReadOnlyHelp);
    edge->add_option("--edge", *edgeOption, "edge label (\"Fe K-edge\") or index 0-42")
        ->check(edgeText());
    edge->add_option("--core-energy", *energyOption, "core energy typed into the box (eV)")
        ->check(numberText());
    edge->callback([&context, edgeOption, energyOption, readOnly] {
        context.step([&](const core::Workspace& workspace) {
            if (auto refusal = core::checkGate(workspace, core::Step::ConvXafs)) {
                return core::Report::refused(*refusal);
            }
            ConvXafsModel model(workspace);
            if (auto read = model.read(); !read.done || *readOnly) return read;
            const int index = edgeOption->empty() ? -1 : edgeFromText(*edgeOption).value_or(-1);
            return model.confirm(*energyOption, index);
        });
    });
}

}  // namespace zephalo::cli
