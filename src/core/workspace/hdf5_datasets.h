#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/status.h"

// Numeric datasets of an HDF5 file, read as doubles (the library converts
// integer and floating-point types). Only the map readers use it.
namespace zephalo::core::hdf5 {

// True when the HDF5 library recognises the file as its own.
bool isHdf5(const std::filesystem::path& file);

class Reader {
public:
    Reader();
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Opens the file read-only; refuses one that is not HDF5 or cannot be
    // opened.
    Status open(const std::filesystem::path& file);
    // The extents of a dataset; refuses one that is missing or not numeric.
    Status shape(std::string_view dataset, std::vector<std::size_t>& dims) const;
    // The values of a dataset, row-major (call shape first: it checks it).
    Status read(std::string_view dataset, std::vector<double>& values) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_label;
};

}  // namespace zephalo::core::hdf5
