#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/records.h"
#include "core/workspace/status.h"

// A measured RIXS map: emission spectra at many excitation energies, read
// from the files beamlines write (a text matrix, excitation-emission-intensity
// triplets, or HDF5 datasets), and its work-space form.
namespace zephalo::core {

// Largest number of excitation energies of one map.
inline constexpr std::size_t kMaxMapExcitations = 2000;
// Largest map file read: a full map of 2000 × 5000 points as triplets.
inline constexpr std::uintmax_t kMaxMapFileBytes = std::uintmax_t{256} << 20;

// The spectrum measured at one excitation energy.
struct MeasuredSpectrum {
    double excitation = 0.0;  // Ω (eV)
    PairSpectrum points;      // emission energy ω (eV) and intensity
};

// Spectra in ascending Ω; within each, ascending ω. Every value carries at
// most six significant digits, as the work space stores it.
using MeasuredMap = std::vector<MeasuredSpectrum>;

// Where an HDF5 map keeps its intensity matrix and the two axes.
struct Hdf5MapPaths {
    std::string intensity;   // 2-D: excitation × emission (or emission × excitation)
    std::string excitation;  // 1-D: Ω (eV)
    std::string emission;    // 1-D: ω (eV)

    bool any() const { return !intensity.empty() || !excitation.empty() || !emission.empty(); }
};

// Reads a measured map chosen by the user. An HDF5 file needs `paths`; a text
// file is either
// - a matrix: the first line the number of emission energies N and the N
//   energies, each further line Ω and the N intensities, or
// - triplets: one line per point, Ω, ω and the intensity, in any order.
// Every spectrum is checked as a single measured RIXS spectrum is (at most
// 5000 points, intensities finite at the display scale), and must hold at
// least two emission energies; at most kMaxMapExcitations spectra; a value
// that is not a finite number, a ragged matrix, a missing axis, an excitation
// energy given twice or one emission energy given twice at one Ω is refused
// with a message naming the file and the line (or the dataset). Values are
// rounded to six significant digits first, as they will be stored.
Status readMeasuredMap(const std::filesystem::path& file, const Hdf5MapPaths& paths,
                       MeasuredMap& out);

// True when the file starts with the HDF5 signature.
bool isHdf5File(const std::filesystem::path& file);

// The work-space form: one line per point, Ω, ω and the intensity,
// TAB-separated, in the map's order.
std::string formatMeasuredMap(const MeasuredMap& map);
// The work-space form read back (checked as a triplet file is, without
// rounding); `label` names the file in messages.
Status parseMeasuredMap(std::string_view text, std::string_view label, MeasuredMap& out);

// Number of points of all spectra together.
std::size_t pointCount(const MeasuredMap& map);

}  // namespace zephalo::core
