#include "core/workspace/desktop_claim.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/workspace/file_names.h"
#include "core/workspace/fingerprint.h"
#include "core/workspace/os_files.h"
#include "core/workspace/step.h"
#include "core/workspace/workspace.h"
#include "test_support.h"

namespace zephalo::core {
namespace {

class DesktopClaimTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Workspace ws{dir.path()};
};

TEST_F(DesktopClaimTest, TheSecondClaimNamesTheFirstAndNoStepWaitsForIt) {
    DesktopClaim first;
    EXPECT_FALSE(first.claim(ws));
    EXPECT_TRUE(first.held());

    DesktopClaim second;
    const auto other = second.claim(ws);
    ASSERT_TRUE(other);
    EXPECT_FALSE(second.held());
    EXPECT_NE(other->find("プロセス " + std::to_string(os::processId())), std::string::npos);
    EXPECT_NE(other->find(ws.directoryText()), std::string::npos);

    // A step (the command line's or a button's) never waits for a claim.
    const Report step = runStep(
        ws, [&] { return Report::from(ws.write(files::kRixsExperiment, 7000.0), "done"); },
        std::chrono::milliseconds(0));
    EXPECT_TRUE(step.done) << step.text;

    // Once the first lets go, the next claim succeeds.
    first = DesktopClaim{};
    EXPECT_FALSE(second.claim(ws));
    EXPECT_TRUE(second.held());
}

TEST_F(DesktopClaimTest, BeforeTheFolderExistsThereIsNothingToClaim) {
    DesktopClaim claim;
    EXPECT_FALSE(claim.claim(Workspace(dir.path() / "missing")));
    EXPECT_FALSE(claim.held());
}

TEST_F(DesktopClaimTest, TheFingerprintFollowsTheDataFilesOnly) {
    const auto empty = workspaceFingerprint(ws);
    test::writeFile(ws.path(files::kRixsExperiment), "7000\t1\n");
    const auto one = workspaceFingerprint(ws);
    EXPECT_NE(one, empty);
    EXPECT_EQ(workspaceFingerprint(ws), one);
    // The storage layer's own files and the claim do not count.
    test::writeFile(ws.path(kDesktopNoteName), "host\n1\nnow\n");
    EXPECT_EQ(workspaceFingerprint(ws), one);
    // One changed byte, or the same bytes under another name, do.
    test::writeFile(ws.path(files::kRixsExperiment), "7000\t2\n");
    EXPECT_NE(workspaceFingerprint(ws), one);
    test::writeFile(ws.path(files::kRixsExperiment), "7000\t1\n");
    EXPECT_EQ(workspaceFingerprint(ws), one);
    std::filesystem::rename(ws.path(files::kRixsExperiment), ws.path(files::kConventionalXafs));
    EXPECT_NE(workspaceFingerprint(ws), one);
}

}  // namespace
}  // namespace zephalo::core
