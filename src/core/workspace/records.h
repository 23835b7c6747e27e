#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/status.h"

// Record shapes of the work-space files and the rules that read and write
// them. Files are plain text: one record per line, values separated by one TAB,
// numbers in the 6-significant-digit general format.
namespace zephalo::core {

namespace os {
class Folder;
}

// Capacity of a spectrum in every reader unless a caller states another.
inline constexpr std::size_t kMaxPoints = 5000;

struct PairPoint {
    double energy = 0.0;
    double intensity = 0.0;
};
using PairSpectrum = std::vector<PairPoint>;

// Energy and the two selective XAFS components A (first) and B (second).
struct XafsPoint {
    double energy = 0.0;
    double a = 0.0;
    double b = 0.0;
};
using SelectiveXafsTable = std::vector<XafsPoint>;

// A calculated spectrum: total and its two components.
struct QuadPoint {
    double energy = 0.0;
    double total = 0.0;
    double comp1 = 0.0;
    double comp2 = 0.0;
};
using QuadSpectrum = std::vector<QuadPoint>;

// Extremes of a spectrum. The defaults are the start values of the scan, so a
// record of an empty spectrum reads 1e8, 0, 1e8, 0.
struct MinMaxRecord {
    double xmin = 1.0e8;
    double xmax = 0.0;
    double ymin = 1.0e8;
    double ymax = 0.0;
};

struct CalculationParameters {
    double lifetimeWidth = 1.25;  // core-hole lifetime width, full width (eV)
    double coreEnergy = 7120.0;   // edge energy (eV)
    double gridStart = 7020.0;    // emission-energy grid (eV)
    double gridEnd = 7065.0;
    double gridStep = 0.1;
    double absorptionFactor = 1.0;
    double scalingFactor = 7.9e-9;
};

// The four Lorentzian lines A-D of the final state. Mode 1 means two
// components (A+B and C+D); every other value one component.
struct FinalStateFunction {
    int mode = 1;
    std::array<double, 4> width{8.12, 5.78, 1.9, 1.07};
    std::array<double, 4> position{7045.0, 7056.0, 7058.8, 7060.1};
    std::array<double, 4> amplitude{0.75, 0.305, 0.15, 0.105};

    bool twoComponents() const { return mode == 1; }
};

// --- Extremes -------------------------------------------------------------

// The extremes scan: running minima start at 1e8, maxima at 0, and a value
// replaces them only when strictly smaller or greater. Y values are multiplied
// by the display factor first; energies never are.
class MinMaxScan {
public:
    void addX(double x);
    void addY(double y);
    const MinMaxRecord& record() const { return m_record; }

private:
    MinMaxRecord m_record;
};

MinMaxRecord minMaxOf(std::span<const PairPoint> points, double yFactor);
// Both components of the selective XAFS count for the Y extremes.
MinMaxRecord minMaxOf(std::span<const XafsPoint> points, double yFactor);

// --- Text -----------------------------------------------------------------

// One record line: values formatted as work-space numbers, TAB-separated,
// ended by a line end.
std::string formatRecord(std::initializer_list<double> values);

std::string formatRecords(std::span<const PairPoint> points);
std::string formatRecords(std::span<const XafsPoint> points);
std::string formatRecords(std::span<const QuadPoint> points);
std::string formatRecord(const MinMaxRecord& record);
std::string formatRecord(const CalculationParameters& parameters);
std::string formatRecord(const FinalStateFunction& function);

// Numbers of a text, in order, with the line each came from. Lines whose first
// non-blank character is '#' are comments. A token that is not a number stops
// the reading with an error naming the file and the line. LF, CR LF and a
// lone CR each end a line.
struct NumberText {
    std::vector<double> values;
    std::vector<int> lines;  // line number (1-based) of each value
};
Status parseNumberText(std::string_view text, std::string_view fileLabel, NumberText& out);

// True when text[i] ends a line: LF, or a CR not followed by LF (the LF of a
// CR LF pair ends it).
bool isLineEnd(std::string_view text, std::size_t i);

// A token of a file as a message shows it: at most 40 characters, and every
// byte that is not printable UTF-8 written as \x00.
std::string echoedToken(std::string_view token);

// Largest file any reader takes: far above 5000 points with comments.
inline constexpr std::uintmax_t kMaxFileBytes = 4u << 20;

// The whole content of a regular file of at most `maxBytes`, without a
// leading UTF-8 byte-order mark; failure when it cannot be opened or read, is
// not a regular file (refused at once, never waiting on a FIFO) or is larger.
Status readTextFile(const std::filesystem::path& file, std::string& out,
                    std::uintmax_t maxBytes = kMaxFileBytes);

// The same for a file of a folder held open, never read through a link.
Status readFolderFile(const os::Folder& folder, std::string_view name, std::string& out,
                      std::uintmax_t maxBytes = kMaxFileBytes);

// Replaces a file whole: a temporary file under a unique name in the same
// folder is written, flushed and renamed over the target, so a failure never
// leaves half a file. The content is written byte for byte, so it may be any
// bytes (an image as well as text).
Status writeTextFileAtomic(const std::filesystem::path& file, std::string_view content);

// Records of `columns` values each in a text read from `fileLabel`. The count
// of numbers must be a multiple of `columns` and the records at most
// `capacity`. `lines`, when given, receives the line of each record's first
// value.
Status parseRecords(std::string_view text, std::string_view fileLabel, std::size_t columns,
                    std::size_t capacity, std::vector<double>& values,
                    std::vector<int>* lines = nullptr);

// The same for a file.
Status readRecordFile(const std::filesystem::path& file, std::size_t columns, std::size_t capacity,
                      std::vector<double>& values, std::vector<int>* lines = nullptr);

// A measured spectrum chosen by the user: pairs of energy and intensity.
// `lines`, when given, receives the line of each pair.
Status readPairFile(const std::filesystem::path& file, PairSpectrum& out,
                    std::size_t capacity = kMaxPoints, std::vector<int>* lines = nullptr);

// Path text for messages: UTF-8 on every platform, every byte that is not
// printable UTF-8 (a control character, a byte of another encoding) written
// as \x00, as echoedToken writes the bytes of a file.
std::string pathText(const std::filesystem::path& path);
// Any text for a message or a comment, escaped as pathText escapes a path.
std::string escapedText(std::string_view text);
// A path from UTF-8 text and back, unescaped, for every path the system can
// name; neither throws.
std::filesystem::path pathFromText(std::string_view utf8);
std::string textFromPath(const std::filesystem::path& path);

}  // namespace zephalo::core
