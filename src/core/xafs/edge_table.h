#pragma once

#include <optional>
#include <span>
#include <string_view>

// The absorption edges the simulator knows: K edges from potassium to gallium
// and the L1 and L3 edges of the lanthanides, each with its core-level energy
// and core-hole lifetime width. The position of a row is its index, and the
// edge list of the conventional XAFS dialog shows the rows in this order.
namespace zephalo::core::xafs {

struct Edge {
    std::string_view label;
    double coreEnergy;     // eV
    double lifetimeWidth;  // eV, full width at half maximum
};

inline constexpr int kEdgeCount = 43;

// The whole table in index order.
std::span<const Edge> edgeTable();

// The row at `index`; nullopt (no edge) outside 0..42, including -1 for no
// selection.
std::optional<Edge> edgeAt(int index);

// The index of the row whose label is exactly `label`.
std::optional<int> edgeIndexOf(std::string_view label);

}  // namespace zephalo::core::xafs
