#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

#include "core/workspace/file_names.h"
#include "core/workspace/gates.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

namespace zephalo::core {
namespace {

// Each button of the main form is done once the file only its step writes
// exists, and writing that file marks no other button done.
class ButtonDone : public ::testing::TestWithParam<std::tuple<FormButton, std::string_view>> {};
TEST_P(ButtonDone, OneFileEachAndNothingElse) {
    const auto [button, file] = GetParam();
    test::TempDir dir;
    const Workspace workspace(dir.path());
    for (FormButton any : kFormButtons) EXPECT_FALSE(buttonDone(workspace, any));
    ASSERT_TRUE(workspace.writeText(file, "1\t2\n"));
    for (FormButton any : kFormButtons) EXPECT_EQ(buttonDone(workspace, any), any == button);
}
INSTANTIATE_TEST_SUITE_P(
    Buttons, ButtonDone,
    ::testing::Values(std::tuple{FormButton::CreateWorkspace, files::kParameters},
                      std::tuple{FormButton::ImportConvXafs, files::kConventionalXafs},
                      std::tuple{FormButton::ImportXrf, files::kExperimentEmission},
                      std::tuple{FormButton::ImportRixs, files::kRixsExperiment},
                      std::tuple{FormButton::ImportSelective, files::kSelectiveOrg},
                      std::tuple{FormButton::ConvXafs, files::kSelectiveAbsolute},
                      std::tuple{FormButton::Xrf, files::kFinalStateTemp},
                      std::tuple{FormButton::Rixs, files::kSelectiveForRixs}));

}  // namespace
}  // namespace zephalo::core
