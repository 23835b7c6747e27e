#pragma once

#include <string_view>

// The texts the Python package adds to those of the core: argument errors of
// its own functions, in English like the rest of the Python interface.
namespace zephalo::python::texts {

inline constexpr std::string_view kModuleDoc =
    "ZEPHALO's core from Python: the command-line steps on a work space and the RIXS "
    "calculation in memory.";
inline constexpr std::string_view kNotOneDimensional = "expected a one-dimensional array";
inline constexpr std::string_view kLengthsDiffer =
    "energies and intensities must have the same length";
inline constexpr std::string_view kTooManyPoints = "too many points: at most ";
inline constexpr std::string_view kNotFinite = "energies and intensities must be finite numbers";
inline constexpr std::string_view kNoCommonEnergy =
    "no R factor: the measured spectrum shares no energy with the calculated one, or its "
    "intensities sum to zero";

}  // namespace zephalo::python::texts
