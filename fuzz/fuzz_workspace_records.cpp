// Every record shape of the work-space files, read from one file content: the
// spectra (two, three and four columns), the one-line records and a single
// value. A refusal leaves the caller's value as it was; what is read is finite
// and its written text is number text again.
#include <cmath>
#include <cstring>

#include "core/workspace/workspace.h"
#include "fuzz_support.h"

using namespace zephalo;

namespace {

constexpr std::string_view kFile = "RECORD.DAT";
constexpr std::size_t kCapacity = 64;

const core::Workspace& space() {
    static const core::Workspace workspace{fuzz::privateFolder()};
    return workspace;
}

bool finite(const core::PairPoint& p) {
    return std::isfinite(p.energy) && std::isfinite(p.intensity);
}
bool finite(const core::XafsPoint& p) {
    return std::isfinite(p.energy) && std::isfinite(p.a) && std::isfinite(p.b);
}
bool finite(const core::QuadPoint& p) {
    return std::isfinite(p.energy) && std::isfinite(p.total) && std::isfinite(p.comp1) &&
           std::isfinite(p.comp2);
}
bool finite(const core::MinMaxRecord& r) {
    return std::isfinite(r.xmin) && std::isfinite(r.xmax) && std::isfinite(r.ymin) &&
           std::isfinite(r.ymax);
}
bool finite(const core::CalculationParameters& p) {
    for (double v : {p.lifetimeWidth, p.coreEnergy, p.gridStart, p.gridEnd, p.gridStep,
                     p.absorptionFactor, p.scalingFactor}) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}
bool finite(const core::FinalStateFunction& f) {
    for (std::size_t i = 0; i < 4; ++i) {
        if (!std::isfinite(f.width[i]) || !std::isfinite(f.position[i]) ||
            !std::isfinite(f.amplitude[i]))
            return false;
    }
    return true;
}
bool finite(double v) {
    return std::isfinite(v);
}

template <typename T>
bool same(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}
template <typename T>
bool same(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), sizeof(T) * a.size()) == 0);
}

// What the work space would write for a value read: finite numbers only, as
// many as were read.
void checkWrittenText(const std::string& text, std::size_t count) {
    core::NumberText numbers;
    fuzz::check(bool(core::parseNumberText(text, "written", numbers)),
                "the text written for a value read is not number text");
    fuzz::check(numbers.values.size() == count, "the text written holds another count");
}

std::string written(const core::MinMaxRecord& r) {
    return core::formatRecord(r);
}
std::string written(const core::CalculationParameters& p) {
    return core::formatRecord(p);
}
std::string written(const core::FinalStateFunction& f) {
    return core::formatRecord(f);
}
std::string written(double v) {
    return core::formatRecord({v});
}

// A spectrum read with the given capacity.
template <typename Spectrum>
void readSpectrum(Spectrum before, std::size_t columns) {
    Spectrum out = before;
    const auto status = space().read(kFile, out, kCapacity);
    fuzz::checkRefusal(status);
    if (!status) {
        fuzz::check(same(out, before), "a refused spectrum changed the caller's value");
        return;
    }
    fuzz::check(out.size() <= kCapacity, "more records than the capacity");
    for (const auto& p : out) fuzz::check(finite(p), "a record that is not finite");
    checkWrittenText(core::formatRecords(out), out.size() * columns);
}

// A one-line record; `before` is the caller's value.
template <typename Record>
void readRecord(const Record& before, std::size_t columns) {
    Record out = before;
    const auto status = space().read(kFile, out);
    fuzz::checkRefusal(status);
    if (!status) {
        fuzz::check(same(out, before), "a refused record changed the caller's value");
        return;
    }
    fuzz::check(finite(out), "a record that is not finite");
    checkWrittenText(written(out), columns);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::inputFile(kFile, fuzz::textOf(data, size));
    readSpectrum(core::PairSpectrum{{1, 2}}, 2);
    readSpectrum(core::SelectiveXafsTable{{1, 2, 3}}, 3);
    readSpectrum(core::QuadSpectrum{{1, 2, 3, 4}}, 4);
    readRecord(core::MinMaxRecord{}, 4);
    readRecord(core::CalculationParameters{}, 7);
    readRecord(core::FinalStateFunction{}, 13);
    readRecord(42.0, 1);
    return 0;
}
