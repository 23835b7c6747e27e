#include "core/rixs/live_correction.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/numeric/r_factor.h"
#include "core/numeric/row_sums.h"
#include "core/rixs/workbench_texts.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"

namespace zephalo::core::rixs {

Status LiveCorrection::prepare(const Workspace& workspace, double omega) {
    m_response = {};
    m_base.clear();
    RixsInput input;
    PairSpectrum absorption;
    if (auto s = workspace.read(files::kSelectiveWork, m_working, kMaxSelectivePoints); !s) {
        return s;
    }
    if (auto s = workspace.read(files::kRixsExperiment, m_measured); !s) return s;
    if (auto s = workspace.read(files::kConvXafsNorm, absorption, kMaxAbsorptionPoints); !s) {
        return s;
    }
    if (auto s = workspace.readParameters(input.parameters); !s) return s;
    if (auto s = workspace.read(files::kFinalState, input.lines); !s) return s;
    input.selective = m_working;
    input.absorption = absorption;
    input.omega = omega;
    QuadSpectrum spectrum;
    if (auto s = calculateRixsSpectrum(input, spectrum); !s) return s;
    if (!rixsResponse(input, spectrum.size(), {}, m_response)) {
        return Status::failure(std::string(texts::kLiveNotFinite));
    }
    m_base.resize(spectrum.size());
    m_energies.resize(spectrum.size());
    for (std::size_t j = 0; j < spectrum.size(); ++j) {
        m_base[j] = spectrum[j].total;
        m_energies[j] = storedValue(spectrum[j].energy);
    }
    std::vector<double> measuredEnergy(m_measured.size());
    for (std::size_t k = 0; k < m_measured.size(); ++k) measuredEnergy[k] = m_measured[k].energy;
    m_pairs = comparedPairs(measuredEnergy, m_energies);
    if (m_pairs.measured.empty())
        return Status::failure(std::string(texts::kNoCommonEnergyRefused));
    m_totals = m_base;
    return {};
}

std::vector<double> LiveCorrection::peakValues(const LivePeak& peak) const {
    std::vector<double> out(m_working.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double offset = m_working[i].energy - peak.centre;
        out[i] = peak.amplitude / (offset * offset + peak.width * peak.width);
    }
    return out;
}

std::vector<double> LiveCorrection::workingEnergies() const {
    std::vector<double> out(m_working.size());
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = m_working[i].energy;
    return out;
}

std::optional<double> LiveCorrection::update(const LivePeak& peak) {
    const std::size_t n = m_working.size();
    const std::size_t rows = m_response.rows;
    if (n == 0 || !ready()) return std::nullopt;
    // The peak's values in the columns it goes into, signed.
    const double sign = peak.subtract ? -1.0 : 1.0;
    const std::vector<double> values = peakValues(peak);
    m_peak.assign(2 * n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        if (peak.first) m_peak[i] = sign * values[i];
        if (peak.second) m_peak[n + i] = sign * values[i];
    }
    m_totals.resize(rows);
    numeric::rowSums(m_response.values.data(), rows, 2 * n, 0, 2 * n, m_peak.data(),
                     m_totals.data());
    for (std::size_t j = 0; j < rows; ++j) {
        m_totals[j] = m_base[j] + m_response.scale[j] * m_totals[j];
    }
    numeric::RFactorSums sums;
    for (std::size_t k = 0; k < m_pairs.measured.size(); ++k) {
        sums.add(m_totals[m_pairs.calculated[k]], m_measured[m_pairs.measured[k]].intensity);
    }
    return sums.percent();
}

LivePeak peakAtGrip(LivePeak peak, const plot::Frame& frame, double logicalX, double logicalY) {
    peak.centre = plot::energyAt(frame, logicalX);
    peak.amplitude = std::max(0.0, plot::intensityAt(frame, logicalY)) * peak.width * peak.width;
    return peak;
}

LivePeak peakTurned(LivePeak peak, double notches) {
    peak.amplitude *= std::pow(1.25, notches);
    return peak;
}

}  // namespace zephalo::core::rixs
