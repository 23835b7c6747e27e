#include "core/xafs/edge_table.h"

#include <array>

namespace zephalo::core::xafs {

namespace {

// Rows 0-12 are K edges, 13-27 L1 edges, 28-42 L3 edges.
constexpr std::array<Edge, kEdgeCount> kEdges{{
    {"K K-edge", 3608, 0.74},    {"Ca K-edge", 4038, 0.81},   {"Sc K-edge", 4493, 0.86},
    {"Ti K-edge", 4965, 0.94},   {"V K-edge", 5465, 1.01},    {"Cr K-edge", 5939, 1.08},
    {"Mn K-edge", 6539, 1.16},   {"Fe K-edge", 7114, 1.25},   {"Co K-edge", 7709, 1.33},
    {"Ni K-edge", 8333, 1.44},   {"Cu K-edge", 8979, 1.55},   {"Zn K-edge", 9659, 1.67},
    {"Ga K-edge", 10367, 1.82},  {"La L1-edge", 6267, 4.06},  {"Ce L1-edge", 6549, 4.21},
    {"Pr L1-edge", 6835, 4.34},  {"Nd L1-edge", 7126, 4.52},  {"Pm L1-edge", 7428, 4.67},
    {"Sm L1-edge", 7737, 4.8},   {"Eu L1-edge", 8052, 4.91},  {"Gd L1-edge", 8376, 5.05},
    {"Tb L1-edge", 8708, 5.19},  {"Dy L1-edge", 9047, 5.25},  {"Ho L1-edge", 9395, 5.33},
    {"Er L1-edge", 9752, 5.43},  {"Tm L1-edge", 10116, 5.47}, {"Yb L1-edge", 10488, 5.53},
    {"Lu L1-edge", 10870, 5.54}, {"La L3-edge", 5483, 3.41},  {"Ce L3-edge", 5724, 3.48},
    {"Pr L3-edge", 5965, 3.6},   {"Nd L3-edge", 6208, 3.65},  {"Pm L3-edge", 6460, 3.75},
    {"Sm L3-edge", 6717, 3.86},  {"Eu L3-edge", 6977, 3.91},  {"Gd L3-edge", 7243, 4.01},
    {"Tb L3-edge", 7515, 4.12},  {"Dy L3-edge", 7790, 4.17},  {"Ho L3-edge", 8071, 4.26},
    {"Er L3-edge", 8358, 4.35},  {"Tm L3-edge", 8648, 4.48},  {"Yb L3-edge", 8943, 4.6},
    {"Lu L3-edge", 9244, 4.68},
}};

}  // namespace

std::span<const Edge> edgeTable() {
    return kEdges;
}

std::optional<Edge> edgeAt(int index) {
    if (index < 0 || index >= kEdgeCount) return std::nullopt;
    return kEdges[static_cast<std::size_t>(index)];
}

std::optional<int> edgeIndexOf(std::string_view label) {
    for (std::size_t i = 0; i < kEdges.size(); ++i) {
        if (kEdges[i].label == label) return static_cast<int>(i);
    }
    return std::nullopt;
}

}  // namespace zephalo::core::xafs
