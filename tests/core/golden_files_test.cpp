#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/rixs/rixs_core.h"
#include "core/rixs/rixs_plane.h"
#include "core/workspace/file_names.h"
#include "core/workspace/workspace.h"
#include "rixs_fixture.h"
#include "test_support.h"

// The RIXS outputs of the prepared work space, line by line against the
// golden files in tests/data (written with ZEPHALO_REGENERATE_GOLDEN=1 when
// the output changes on purpose). A change in any digit of the files a user
// keeps shows up here, whichever kernel or writer caused it.
namespace zephalo::test {
namespace {

namespace files = core::files;

class GoldenFiles : public ::testing::Test {
protected:
    void SetUp() override { prepareRixsWorkspace(workspace); }
    TempDir dir;
    core::Workspace workspace{dir.path()};
};

TEST_F(GoldenFiles, CalculatedRixsAtTwoExcitationEnergies) {
    for (const auto& [omega, golden] : {std::pair{7120.0, "calculated_rixs_7120.DAT"},
                                        std::pair{7150.0, "calculated_rixs_7150.DAT"}}) {
        ASSERT_TRUE(core::rixs::calculateRixs(workspace, omega));
        EXPECT_TRUE(matchesGolden(readFile(workspace.path(files::kCalculatedRixs)), golden));
    }
}

TEST_F(GoldenFiles, PlaneOverFiveExcitationEnergies) {
    std::vector<double> excitations;
    ASSERT_TRUE(core::rixs::planeExcitations(7110, 7130, 5, excitations));
    core::rixs::RixsPlane plane;
    ASSERT_TRUE(core::rixs::computeRixsPlane(workspace, excitations, plane));
    EXPECT_TRUE(matchesGolden(core::rixs::formatPlane(plane), "plane_7110_7130.txt"));
}

}  // namespace
}  // namespace zephalo::test
