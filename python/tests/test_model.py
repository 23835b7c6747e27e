"""Model: the RIXS calculation in memory, equal to what the steps write."""

import inspect
import re

import numpy as np
import pytest

import zephalo
from conftest import files_of


def as_written(values):
    """Values as a work-space file holds them: six significant digits."""
    return np.array([float(f"{v:.6g}") for v in values])


# A stored scaling factor with more digits than the factor box shows: the
# compute step uses it as the box shows it.
LONG_SCALING = "7.91234567e-09"


def set_stored_scaling(folder, text):
    path = folder / "RIXS_Calculation_Parameters.DAT"
    fields = path.read_text().rstrip("\n").split("\t")
    fields[6] = text
    path.write_text("\t".join(fields) + "\n")


@pytest.mark.parametrize(
    "omega, scaling", [(7114, None), (7114, LONG_SCALING), (7108.25, None), (7131, LONG_SCALING)]
)
def test_spectrum_equals_what_compute_writes(demo_ws, omega, scaling):
    if scaling:
        set_stored_scaling(demo_ws, scaling)
    model = zephalo.Model.from_workspace(demo_ws)
    before = files_of(demo_ws)
    spectrum = model.spectrum(omega)
    model.plane([omega, omega + 1])
    model.r_factor(omega, *zephalo.Workspace(demo_ws).measured())
    assert files_of(demo_ws) == before  # a Model writes nothing

    ws = zephalo.Workspace(demo_ws)
    ws.step("compute", omega=omega)
    written = ws.calculated()
    assert len(spectrum) == 4
    for got, want in zip(spectrum, written):
        assert got.dtype == np.float64 and got.shape == want.shape
        np.testing.assert_array_equal(as_written(got), want)
    assert np.any(spectrum[1] != written[1])  # unrounded
    np.testing.assert_array_equal(spectrum[1], spectrum[2] + spectrum[3])


def test_plane_rows_equal_spectrum(demo_ws):
    model = zephalo.Model.from_workspace(demo_ws)
    omegas = np.array([7105.0, 7114.0, 7120.3, 7135.0])
    plane = model.plane(omegas)
    assert plane.shape == (len(omegas), len(model.spectrum(7114)[0]))
    for row, omega in zip(plane, omegas):
        np.testing.assert_array_equal(row, model.spectrum(omega)[1])


def test_r_factor_is_the_compare_steps(demo_ws):
    ws = zephalo.Workspace(demo_ws)
    model = ws.model()
    r = model.r_factor(7114, *ws.measured())
    ws.step("compute", omega=7114)
    assert f"{r:.6g}" == f"{ws.step('compare').r:.6g}"
    assert 7.0 < r < 7.2
    # Paired on common energies: a measurement on a coarser grid pairs with
    # the calculated points at its energies only.
    energies, intensities = ws.measured()
    assert model.r_factor(7114, energies[::5], intensities[::5]) != pytest.approx(r, abs=1e-9)


def test_with_profile_changes_the_spectrum_linearly(demo_ws):
    model = zephalo.Model.from_workspace(demo_ws)
    energies, a, b = model.selective
    same = model.with_profile(energies, a, b)
    np.testing.assert_array_equal(same.spectrum(7114)[1], model.spectrum(7114)[1])

    peak = 0.3 / (1 + ((energies - 7110.0) / 1.0) ** 2)
    base = model.spectrum(7114)
    alone = model.with_profile(energies, peak).spectrum(7114)
    both = model.with_profile(energies, a + peak, b).spectrum(7114)
    doubled = model.with_profile(energies, 2 * a, 2 * b).spectrum(7114)
    np.testing.assert_allclose(both[1], base[1] + alone[1], rtol=1e-10)
    np.testing.assert_allclose(doubled[1], 2 * base[1], rtol=1e-12)
    assert np.all(alone[3] == 0)  # y2 omitted: no second component
    assert np.max(alone[1]) > 0
    # The model it came from is unchanged.
    np.testing.assert_array_equal(model.selective[1], a)


def working_copy(folder):
    """SelectiveXAFS_for_RIXS_Temp.DAT: (energy, first, second component)."""
    return np.loadtxt(folder / "SelectiveXAFS_for_RIXS_Temp.DAT", ndmin=2).T


def test_fit_equals_the_fit_step_and_writes_nothing(demo_ws):
    ws = zephalo.Workspace(demo_ws)
    ws.step("compute", omega=7114)
    model = ws.model()
    before = files_of(demo_ws)
    result = model.fit(7114, *ws.measured(), from_=7104, to=7134, smooth=1, band=3)
    assert files_of(demo_ws) == before

    report = ws.step("fit", omega=7114, from_=7104, to=7134, smooth=1, band=3)
    for got, want in zip(result.selective, working_copy(demo_ws)):
        np.testing.assert_array_equal(got, want)
    assert f"{result.r:.6g}" == f"{report.r:.6g}"
    assert result.smoothing == 1 and not result.automatic
    assert result.text == report.text
    # One component: both bands are the same, inside the window only.
    band_energies, lower, upper = result.band_a
    assert band_energies.min() >= 7104 and band_energies.max() <= 7134
    assert np.all(lower <= upper)
    np.testing.assert_array_equal(result.band_b[1], lower)
    # The fitted model computes what the fitted profile gives.
    energies, a, b = result.selective
    np.testing.assert_array_equal(
        result.model.spectrum(7114)[1], model.with_profile(energies, a, b).spectrum(7114)[1]
    )
    assert result.model.r_factor(7114, *ws.measured()) < model.r_factor(7114, *ws.measured())


def test_fit_refuses_as_the_step_does(demo_ws):
    model = zephalo.Model.from_workspace(demo_ws)
    measured = zephalo.Workspace(demo_ws).measured()
    with pytest.raises(zephalo.Refused, match="7000"):
        model.fit(7114, *measured, from_=7000, to=7134)
    with pytest.raises(zephalo.Refused):
        model.fit(7114, [1.0, 2.0], [3.0, 4.0])
    with pytest.raises(zephalo.Refused):
        model.fit(7114, *measured, smooth=-1)


@pytest.mark.parametrize(
    "call, error, message",
    [
        (lambda m: m.spectrum(500), zephalo.Refused, "500"),
        (lambda m: m.plane([7114, 25000]), zephalo.Refused, "25000"),
        (lambda m: m.plane([[7114.0]]), ValueError, "one-dimensional"),
        (lambda m: m.with_profile([7110, 7111], [1.0]), ValueError, "same length"),
        (lambda m: m.with_profile([7110, 7111], [1.0, np.nan]), ValueError, "finite"),
        (lambda m: m.with_profile([7110], [1.0]), zephalo.Refused, ""),
        (lambda m: m.with_profile(np.arange(6000.0), np.ones(6000)), ValueError, "5000"),
        (lambda m: m.r_factor(7114, [1.0, 2.0], [3.0, 4.0]), ValueError, "shares no energy"),
    ],
)
def test_bad_calls_raise(demo_ws, call, error, message):
    model = zephalo.Model.from_workspace(demo_ws)
    with pytest.raises(error, match=message):
        call(model)


def test_from_workspace_refuses_missing_inputs_naming_the_file(tmp_path, demo_ws):
    with pytest.raises(zephalo.Refused):
        zephalo.Model.from_workspace(tmp_path / "nothing here")
    (demo_ws / "ConvXAFS_Norm_Spectrum.DAT").unlink()
    with pytest.raises(zephalo.Refused, match="ConvXAFS_Norm_Spectrum.DAT"):
        zephalo.Model.from_workspace(demo_ws)


def public_names():
    for name in zephalo.__all__:
        value = getattr(zephalo, name)
        yield name, value
        if inspect.isclass(value):
            for member, attribute in vars(value).items():
                if not member.startswith("_") and (
                    callable(attribute) or isinstance(attribute, (property, staticmethod))
                ):
                    yield f"{name}.{member}", attribute


def test_every_public_name_has_a_docstring():
    names = dict(public_names())
    assert "Model.spectrum" in names and "Workspace.step" in names and "FitResult.r" in names
    for name, value in names.items():
        if name == "__version__":
            assert re.fullmatch(r"\d+\.\d+(\.\d+)?", value)
            continue
        assert (getattr(value, "__doc__", None) or "").strip(), name
