// The compiled half of the Python package `zephalo`: zephalo-cli's commands
// run in-process, readers of the work-space files, and the RIXS calculation
// held in memory (`Model`). The package's __init__.py builds the Python-side
// classes on top of it.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "cli/cli_support.h"
#include "cli/run.h"
#include "core/numeric/r_factor.h"
#include "core/rixs/energy_alignment.h"
#include "core/rixs/rixs_core.h"
#include "core/rixs/rixs_plane.h"
#include "core/rixs/workbench_model.h"
#include "core/tools/profile_fit_run.h"
#include "core/tools/trial_profile.h"
#include "core/workspace/file_names.h"
#include "core/workspace/number_text.h"
#include "core/workspace/records.h"
#include "core/workspace/step.h"
#include "core/workspace/workspace.h"
#include "python_texts.h"

namespace py = pybind11;

namespace zephalo::python {

namespace {

namespace rixs = core::rixs;

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;

// A refusal of the core, raised in Python as zephalo.Refused.
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The message-panel text as Python shows it: terminal lines, without the
// last line end.
std::string messageOf(std::string_view panelText) {
    std::string text = cli::terminalText(panelText);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

void check(const core::Status& status) {
    if (!status) throw Refusal(messageOf(status.error()));
}

using Path = std::filesystem::path;

// Runs `read` on the work space as a step that writes nothing, so that it
// sees the files of one finished step, never half of a step being committed.
void readInStep(const core::Workspace& workspace, const std::function<core::Status()>& read) {
    const core::Report report =
        core::runStep(workspace, [&] { return core::Report::from(read(), {}); });
    if (!report.done) throw Refusal(messageOf(report.text));
}

// One float64 array per field of `points`.
template <class Point, class... Fields>
py::tuple columns(const std::vector<Point>& points, Fields... fields) {
    auto column = [&points](double Point::*field) {
        Array out(static_cast<py::ssize_t>(points.size()));
        double* data = out.mutable_data();
        for (std::size_t i = 0; i < points.size(); ++i) data[i] = points[i].*field;
        return out;
    };
    return py::make_tuple(column(fields)...);
}

std::vector<double> valuesOf(const Array& array) {
    if (array.ndim() != 1) throw py::value_error(std::string(texts::kNotOneDimensional));
    const double* data = array.data();
    return std::vector<double>(data, data + array.size());
}

void requireFinite(const std::vector<double>& values) {
    for (double v : values) {
        if (!std::isfinite(v)) throw py::value_error(std::string(texts::kNotFinite));
    }
}

void requireSameLength(std::size_t a, std::size_t b) {
    if (a != b) throw py::value_error(std::string(texts::kLengthsDiffer));
}

// --- Model -------------------------------------------------------------------

// The inputs of the RIXS calculation, read once; every result is computed by
// the core's own functions from them. Immutable, so one model serves many
// threads.
class Model {
public:
    static Model fromWorkspace(const Path& path) {
        const core::Workspace workspace = core::Workspace(path);
        Model model;
        readInStep(workspace, [&] {
            rixs::RixsInputFiles files;
            rixs::RixsInput input;
            if (auto status = rixs::readRixsInputs(workspace, files, input); !status) return status;
            // The compute step stores the factors as the workbench's boxes
            // show them (six significant digits) before it calculates: the
            // same here.
            rixs::WorkbenchBoxes boxes;
            if (auto status = rixs::storedBoxes(workspace, boxes); !status) return status;
            input.parameters.absorptionFactor = core::parseTyped(boxes.absorption);
            input.parameters.scalingFactor = core::parseTyped(boxes.scaling);
            model.m_selective = std::move(files.selective);
            model.m_absorption = std::move(files.absorption);
            model.m_parameters = input.parameters;
            model.m_lines = input.lines;
            model.m_selectiveFile = core::pathText(workspace.path(core::files::kSelectiveForRixs));
            return core::Status{};
        });
        model.checkInputs();
        return model;
    }

    Model withProfile(const Array& energies, const Array& first,
                      const std::optional<Array>& second) const {
        const auto e = valuesOf(energies);
        const auto a = valuesOf(first);
        const auto b = second ? valuesOf(*second) : std::vector<double>(e.size(), 0.0);
        requireSameLength(e.size(), a.size());
        requireSameLength(e.size(), b.size());
        if (e.size() > rixs::kMaxSelectivePoints) {
            throw py::value_error(std::string(texts::kTooManyPoints) +
                                  std::to_string(rixs::kMaxSelectivePoints));
        }
        for (const auto* values : {&e, &a, &b}) requireFinite(*values);
        Model model = *this;
        model.m_selective.resize(e.size());
        for (std::size_t k = 0; k < e.size(); ++k) model.m_selective[k] = {e[k], a[k], b[k]};
        model.checkInputs();
        return model;
    }

    core::QuadSpectrum spectrum(double omega) const {
        const double range[] = {omega};
        check(rixs::checkPlaneRange(range));
        rixs::RixsInput in = input();
        in.omega = omega;
        core::QuadSpectrum out;
        check(rixs::calculateRixsSpectrum(in, out));
        for (const core::QuadPoint& point : out) {
            if (auto refusal =
                    rixs::nonFiniteRefusal(point, m_parameters.scalingFactor, m_selectiveFile)) {
                check(*refusal);
            }
        }
        return out;
    }

    rixs::RixsPlane plane(const std::vector<double>& omegas) const {
        check(rixs::checkPlaneRange(omegas));
        rixs::RixsPlane out;
        check(rixs::calculateRixsPlane(input(), omegas, out));
        return out;
    }

    // The comparison's R factor: the spectrum as Calculated_RIXS.DAT holds
    // it, paired with the measured one on their common energies.
    double rFactor(double omega, const core::PairSpectrum& measured) const {
        core::QuadSpectrum calculated = spectrum(omega);
        for (core::QuadPoint& point : calculated) {
            point.total = core::tools::asWritten(point.total);
        }
        const rixs::AlignedSpectra pair = rixs::alignEnergies(measured, calculated);
        const auto r = core::numeric::rFactor(pair.calculated, pair.measured);
        if (!r) throw py::value_error(std::string(texts::kNoCommonEnergy));
        return *r;
    }

    // The fit of this model's selective XAFS to measured spectra (the one
    // at `settings.omega` and those of `map`), as the fit step makes it of
    // the working copy.
    std::pair<Model, core::tools::FitOutcome> fit(const core::tools::FitSettings& settings,
                                                  core::PairSpectrum measured,
                                                  core::MeasuredMap map) const {
        const core::tools::FitInputs inputs{m_selective,    m_selectiveFile, std::move(measured),
                                            std::move(map), m_absorption,    m_parameters,
                                            m_lines};
        core::tools::FitOutcome outcome = core::tools::fitProfile(inputs, settings);
        if (!outcome.report.done) throw Refusal(messageOf(outcome.report.text));
        Model fitted = *this;
        fitted.m_selective = outcome.fitted;
        return {std::move(fitted), std::move(outcome)};
    }

    const core::SelectiveXafsTable& selective() const { return m_selective; }

private:
    rixs::RixsInput input() const {
        rixs::RixsInput in;
        in.selective = m_selective;
        in.absorption = m_absorption;
        in.parameters = m_parameters;
        in.lines = m_lines;
        return in;
    }

    // Refuses at once what the core would refuse at every excitation energy.
    void checkInputs() const {
        rixs::FastKernel kernel;
        check(kernel.prepare(input()));
    }

    core::SelectiveXafsTable m_selective;
    core::PairSpectrum m_absorption;
    core::CalculationParameters m_parameters;
    core::FinalStateFunction m_lines;
    std::string m_selectiveFile;
};

// What Model.fit gives: the fitted model and the fit's figures.
struct FitResult {
    Model model;
    core::tools::FitOutcome outcome;
};

core::PairSpectrum pairsOf(const Array& energies, const Array& intensities) {
    const auto e = valuesOf(energies);
    const auto y = valuesOf(intensities);
    requireSameLength(e.size(), y.size());
    core::PairSpectrum out(e.size());
    for (std::size_t i = 0; i < e.size(); ++i) out[i] = {e[i], y[i]};
    return out;
}

// --- Commands and readers ------------------------------------------------------

std::tuple<int, std::string, std::string> runCli(const std::vector<std::string>& arguments) {
    std::vector<std::string> words{"zephalo-cli"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::ostringstream out;
    std::ostringstream err;
    int code = 0;
    {
        py::gil_scoped_release released;
        code = cli::run(static_cast<int>(words.size()), argv.data(), out, err);
    }
    return {code, out.str(), err.str()};
}

template <class Table>
Table readTable(const Path& path, std::string_view fileName) {
    const core::Workspace workspace = core::Workspace(path);
    Table table;
    py::gil_scoped_release released;
    readInStep(workspace, [&] { return workspace.read(fileName, table); });
    return table;
}

}  // namespace

}  // namespace zephalo::python

PYBIND11_MODULE(_zephalo, m) {
    using namespace zephalo;
    using python::Array;
    using python::Model;
    using python::Path;
    namespace files = core::files;

    m.doc() = std::string(python::texts::kModuleDoc);
    m.attr("__version__") = ZEPHALO_VERSION;
    py::register_exception<python::Refusal>(m, "Refused", PyExc_RuntimeError);

    m.def("run_cli", &python::runCli, py::arg("arguments"),
          "Runs zephalo-cli with `arguments` (without the program name) in this process and "
          "returns (exit status, standard output, standard error).");

    m.def(
        "read_calculated",
        [](const Path& path) {
            core::QuadSpectrum table;
            {
                py::gil_scoped_release released;
                const core::Workspace workspace = core::Workspace(path);
                python::readInStep(
                    workspace, [&] { return core::rixs::readCalculatedRixs(workspace, table); });
            }
            return python::columns(table, &core::QuadPoint::energy, &core::QuadPoint::total,
                                   &core::QuadPoint::comp1, &core::QuadPoint::comp2);
        },
        py::arg("path"),
        "Calculated_RIXS.DAT of the work space at `path`: (energy, total, component 1, "
        "component 2).");
    m.def(
        "read_measured",
        [](const Path& path) {
            const auto table = python::readTable<core::PairSpectrum>(path, files::kRixsExperiment);
            return python::columns(table, &core::PairPoint::energy, &core::PairPoint::intensity);
        },
        py::arg("path"), "The measured RIXS spectrum of the work space: (energy, intensity).");
    m.def(
        "read_measured_map",
        [](const Path& path) {
            const auto map = python::readTable<core::MeasuredMap>(path, files::kRixsExperimentMap);
            py::list spectra;
            for (const core::MeasuredSpectrum& spectrum : map) {
                spectra.append(py::make_tuple(
                    spectrum.excitation, python::columns(spectrum.points, &core::PairPoint::energy,
                                                         &core::PairPoint::intensity)));
            }
            return spectra;
        },
        py::arg("path"),
        "The measured RIXS map of the work space (RIXSEXP_Map.DAT): a list, in ascending "
        "excitation energy, of (excitation energy, (emission energy, intensity)); empty when "
        "the work space holds no map.");
    m.def(
        "read_selective",
        [](const Path& path) {
            const auto table =
                python::readTable<core::SelectiveXafsTable>(path, files::kSelectiveForRixs);
            return python::columns(table, &core::XafsPoint::energy, &core::XafsPoint::a,
                                   &core::XafsPoint::b);
        },
        py::arg("path"),
        "The selective XAFS the calculation uses (SelectiveXAFS_for_RIXS.DAT): (energy, "
        "first component, second component).");

    py::class_<Model>(m, "Model",
                      "The inputs of the RIXS calculation held in memory: the selective XAFS, "
                      "the absorption-correction XAFS, the parameters (with the factors as the "
                      "compute step stores them) and the final-state function. A Model writes "
                      "no file; its methods release the GIL while they compute.")
        .def_static(
            "from_workspace",
            [](const Path& path) {
                py::gil_scoped_release released;
                return Model::fromWorkspace(path);
            },
            py::arg("path"),
            "Reads the inputs of the calculation from the work space at `path`. Raises "
            "zephalo.Refused with the core's message when one is missing or unreadable.")
        .def(
            "spectrum",
            [](const Model& model, double omega) {
                core::QuadSpectrum spectrum;
                {
                    py::gil_scoped_release released;
                    spectrum = model.spectrum(omega);
                }
                return python::columns(spectrum, &core::QuadPoint::energy, &core::QuadPoint::total,
                                       &core::QuadPoint::comp1, &core::QuadPoint::comp2);
            },
            py::arg("omega"),
            "The calculated RIXS spectrum at excitation energy `omega` (eV, 1000 to 20000): "
            "(emission energy, total, component 1, component 2) as float64 arrays, the values "
            "the compute step writes before it rounds them to six digits.")
        .def(
            "plane",
            [](const Model& model, const Array& omegas) {
                const auto excitations = python::valuesOf(omegas);
                python::requireFinite(excitations);
                core::rixs::RixsPlane plane;
                {
                    py::gil_scoped_release released;
                    plane = model.plane(excitations);
                }
                const auto rows = static_cast<py::ssize_t>(plane.excitation.size());
                const auto cols = static_cast<py::ssize_t>(plane.emission.size());
                Array out({rows, cols});
                std::copy(plane.total.begin(), plane.total.end(), out.mutable_data());
                return out;
            },
            py::arg("omegas"),
            "The totals at every excitation energy of `omegas` as a 2-D array: row i is the "
            "total of spectrum(omegas[i]).")
        .def("with_profile", &Model::withProfile, py::arg("energies"), py::arg("y1"),
             py::arg("y2") = py::none(),
             "A copy with another selective XAFS: `energies` (eV) and the intensities of the "
             "first and, optionally, the second component (zeros when omitted).")
        .def(
            "r_factor",
            [](const Model& model, double omega, const Array& energies, const Array& intensities) {
                const core::PairSpectrum measured = python::pairsOf(energies, intensities);
                py::gil_scoped_release released;
                return model.rFactor(omega, measured);
            },
            py::arg("omega"), py::arg("energies"), py::arg("intensities"),
            "The R factor (percent) of the spectrum at `omega` against a measured spectrum, "
            "paired on their common energies as the compare step pairs them. Raises "
            "ValueError when they share no energy.")
        .def(
            "fit",
            [](const Model& model, double omega, const Array& energies, const Array& intensities,
               std::optional<double> from, std::optional<double> to, std::optional<double> smooth,
               std::size_t band,
               const std::vector<std::pair<double, std::pair<Array, Array>>>& map) {
                core::tools::FitSettings settings{omega, from, to, smooth, band};
                core::PairSpectrum measured = python::pairsOf(energies, intensities);
                core::MeasuredMap spectra;
                for (const auto& [excitation, points] : map) {
                    spectra.push_back({excitation, python::pairsOf(points.first, points.second)});
                }
                py::gil_scoped_release released;
                auto [fitted, outcome] =
                    model.fit(settings, std::move(measured), std::move(spectra));
                return python::FitResult{std::move(fitted), std::move(outcome)};
            },
            py::arg("omega"), py::arg("energies"), py::arg("intensities"), py::kw_only(),
            py::arg("from_") = py::none(), py::arg("to") = py::none(),
            py::arg("smooth") = py::none(), py::arg("band") = 0,
            py::arg("map") = std::vector<std::pair<double, std::pair<Array, Array>>>{},
            "Fits this model's selective XAFS inside [from_, to] (default: all of it) to the "
            "measured spectrum (energies, intensities) at excitation energy `omega` and to "
            "every spectrum of `map` (as Workspace.measured_map() gives it), as the fit step "
            "fits the working copy: least absolute deviations, intensities kept >= 0, "
            "smoothing weight `smooth` (None: chosen from the measured noise), and with "
            "`band` > 0 that many refits on resampled measurements. Returns a FitResult; "
            "raises zephalo.Refused as the step refuses. Writes no file.")
        .def_property_readonly(
            "selective",
            [](const Model& model) {
                return python::columns(model.selective(), &core::XafsPoint::energy,
                                       &core::XafsPoint::a, &core::XafsPoint::b);
            },
            "The selective XAFS of this model: (energy, first component, second component).");

    const auto band = [](const core::SelectiveXafsTable& table) -> py::object {
        if (table.empty()) return py::none();
        return python::columns(table, &core::XafsPoint::energy, &core::XafsPoint::a,
                               &core::XafsPoint::b);
    };
    using python::FitResult;
    py::class_<FitResult>(m, "FitResult", "What Model.fit found.")
        .def_readonly("model", &FitResult::model, "The model with the fitted selective XAFS.")
        .def_property_readonly(
            "selective",
            [](const FitResult& result) {
                return python::columns(result.outcome.fitted, &core::XafsPoint::energy,
                                       &core::XafsPoint::a, &core::XafsPoint::b);
            },
            "The fitted selective XAFS as the fit step writes it: (energy, first component, "
            "second component).")
        .def_property_readonly(
            "r", [](const FitResult& result) { return result.outcome.rFactor.value_or(NAN); },
            "The R factor (percent) of the fitted profile at the fit's excitation energy, as "
            "the comparison shows it after the compute step.")
        .def_property_readonly(
            "smoothing", [](const FitResult& result) { return result.outcome.smoothing; },
            "The smoothing weight S used.")
        .def_property_readonly(
            "automatic", [](const FitResult& result) { return result.outcome.automatic; },
            "Whether S was chosen from the measured noise.")
        .def_property_readonly(
            "band_a", [band](const FitResult& result) { return band(result.outcome.bandA); },
            "The band of the first component: (energy, lower, upper), or None without one.")
        .def_property_readonly(
            "band_b", [band](const FitResult& result) { return band(result.outcome.bandB); },
            "The band of the second component (the first's again for a one-component "
            "profile), or None without a band.")
        .def_property_readonly(
            "text",
            [](const FitResult& result) { return python::messageOf(result.outcome.report.text); },
            "The fit step's message.");
}
