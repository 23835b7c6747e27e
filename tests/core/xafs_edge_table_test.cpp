#include <set>
#include <string>

#include "core/xafs/edge_table.h"
#include "test_support.h"

namespace zephalo::core::xafs {
namespace {

struct EdgeRow {
    int index;
    const char* label;
    double energy;
    double width;
};
// Printed readably in the test list, not as a byte dump.
inline void PrintTo(const EdgeRow& c, std::ostream* out) {
    *out << c.label;
}

class EdgeRowTest : public ::testing::TestWithParam<EdgeRow> {};

TEST_P(EdgeRowTest, LookupByIndexAndLabel) {
    const EdgeRow row = GetParam();
    const auto edge = edgeAt(row.index);
    ASSERT_TRUE(edge.has_value());
    EXPECT_EQ(edge->label, row.label);
    EXPECT_EQ(edge->coreEnergy, row.energy);  // whole numbers, held exactly
    EXPECT_TRUE(test::near(edge->lifetimeWidth, row.width, 0.0, 1e-12));
    EXPECT_EQ(edgeIndexOf(row.label), row.index);
}

// Rows from the published edge list, first and last of each group included.
INSTANTIATE_TEST_SUITE_P(
    Rows, EdgeRowTest,
    ::testing::Values(EdgeRow{0, "K K-edge", 3608, 0.74}, EdgeRow{4, "V K-edge", 5465, 1.01},
                      EdgeRow{7, "Fe K-edge", 7114, 1.25}, EdgeRow{8, "Co K-edge", 7709, 1.33},
                      EdgeRow{12, "Ga K-edge", 10367, 1.82}, EdgeRow{13, "La L1-edge", 6267, 4.06},
                      EdgeRow{16, "Nd L1-edge", 7126, 4.52}, EdgeRow{17, "Pm L1-edge", 7428, 4.67},
                      EdgeRow{27, "Lu L1-edge", 10870, 5.54}, EdgeRow{28, "La L3-edge", 5483, 3.41},
                      EdgeRow{30, "Pr L3-edge", 5965, 3.6}, EdgeRow{42, "Lu L3-edge", 9244, 4.68}),
    [](const auto& c) { return test::caseName(c.param.label); });

TEST(EdgeTable, OutsideTheTableIsNoEdge) {
    EXPECT_FALSE(edgeAt(43).has_value());
    EXPECT_FALSE(edgeAt(-1).has_value());
    EXPECT_FALSE(edgeIndexOf("Fe K edge").has_value());
    EXPECT_FALSE(edgeIndexOf("fe K-edge").has_value());
    EXPECT_FALSE(edgeIndexOf("La Ll-edge").has_value());  // letter l, not the digit one
    EXPECT_FALSE(edgeIndexOf("").has_value());
}

TEST(EdgeTable, GroupsAndOrder) {
    const auto table = edgeTable();
    ASSERT_EQ(table.size(), 43u);
    std::set<std::string> labels;
    for (int i = 0; i < kEdgeCount; ++i) {
        const std::string label(table[static_cast<std::size_t>(i)].label);
        const std::string suffix = i <= 12 ? " K-edge" : i <= 27 ? " L1-edge" : " L3-edge";
        ASSERT_GE(label.size(), suffix.size() + 1) << label;
        EXPECT_EQ(label.substr(label.size() - suffix.size()), suffix) << i;
        EXPECT_EQ(label.find("  "), std::string::npos) << label;
        labels.insert(label);
    }
    EXPECT_EQ(labels.size(), 43u);
    // Within each group the energies rise with the atomic number.
    for (int i = 1; i < kEdgeCount; ++i) {
        if (i == 13 || i == 28) continue;
        EXPECT_LT(table[static_cast<std::size_t>(i - 1)].coreEnergy,
                  table[static_cast<std::size_t>(i)].coreEnergy)
            << i;
    }
}

}  // namespace
}  // namespace zephalo::core::xafs
