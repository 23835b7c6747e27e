"""Workspace.step runs zephalo-cli's commands in-process, as one step each."""

import numpy as np
import pytest

import zephalo
from conftest import DEMO, PREPARE, files_of, run_cli

# The rest of the README's story after the preparation, with what differs
# between the two spellings: from_ and underscores.
STORY = PREPARE + [
    (["compute"], {"omega": 7114}),
    (["compare"], {}),
    (["display"], {"from_": 7110, "to": 7135.5, "mode": "AB"}),
    (["optimise"], {"omega": 7114, "from_": 7110, "to": 7116}),
]


def test_every_step_leaves_the_files_and_prints_what_zephalo_cli_does(tmp_path):
    by_cli, by_python = tmp_path / "cli", tmp_path / "python"
    ws = zephalo.Workspace(by_python)
    figures_seen = []
    for words, options in STORY:
        expected = run_cli(by_cli, words, options)
        assert expected.returncode == 0, expected.stderr
        report = ws.step(*words, **options)
        assert files_of(by_python) == files_of(by_cli), words
        figures = [l for l in expected.stdout.splitlines() if l.startswith("R=")]
        assert report.r == (float(figures[-1][2:]) if figures else None)
        figures_seen += [report.r] if figures else []
        text = "\n".join(l for l in expected.stdout.splitlines() if not l.startswith("R="))
        assert report.text == text.replace(str(by_cli), str(by_python))
    assert figures_seen == pytest.approx([2.02, 7.08, 1.46], abs=0.006)


@pytest.mark.parametrize(
    "words, options",
    [
        (["compute"], {"omega": 7114}),  # before "create": the inputs are missing
        (["import", "rixs", str(DEMO / "no such file.DAT")], {}),
        (["edge"], {"edge": "Fe K-edge"}),
    ],
)
def test_a_refusal_raises_refused_with_the_message_and_changes_nothing(tmp_path, words, options):
    folder = tmp_path / "ws"
    expected = run_cli(tmp_path / "cli", words, options)
    assert expected.returncode == 1
    before = files_of(folder)
    with pytest.raises(zephalo.Refused) as refused:
        zephalo.Workspace(folder).step(*words, **options)
    assert str(refused.value) == expected.stderr.rstrip("\n")
    assert refused.value.message == str(refused.value)
    assert files_of(folder) == before


@pytest.mark.parametrize(
    "words, options",
    [
        (["no-such-command"], {}),
        (["compute"], {}),  # --omega is required
        (["compute"], {"omega": "seven"}),
        (["compute"], {"omega": 7114, "colour": "red"}),
        (["compute"], {"omega": float("nan")}),
    ],
)
def test_a_command_line_zephalo_cli_rejects_raises_usage_error(demo_ws, words, options):
    before = files_of(demo_ws)
    with pytest.raises(zephalo.UsageError):
        zephalo.Workspace(demo_ws).step(*words, **options)
    assert files_of(demo_ws) == before


def read_columns(path, count):
    rows = [line.split("\t") for line in path.read_text().splitlines() if line.strip()]
    return [np.array([float(r[i]) for r in rows]) for i in range(count)]


def test_the_readers_return_the_files_columns(demo_ws):
    ws = zephalo.Workspace(demo_ws)
    ws.step("compute", omega=7114)
    for got, name, count in [
        (ws.calculated(), "Calculated_RIXS.DAT", 4),
        (ws.measured(), "RIXSEXP.DAT", 2),
        (ws.selective(), "SelectiveXAFS_for_RIXS.DAT", 3),
    ]:
        expected = read_columns(demo_ws / name, count)
        assert len(got) == count
        for column, want in zip(got, expected):
            assert column.dtype == np.float64
            np.testing.assert_array_equal(column, want)


def test_the_measured_map_reader_returns_the_stored_spectra_in_order(demo_ws):
    ws = zephalo.Workspace(demo_ws)
    assert ws.measured_map() == []
    ws.step("import", "rixs-map", str(DEMO / "Fe2O3_RIXS_map.DAT"))
    omega, energy, intensity = read_columns(demo_ws / "RIXSEXP_Map.DAT", 3)
    spectra = ws.measured_map()
    assert [excitation for excitation, _ in spectra] == sorted(set(omega))
    for excitation, (e, i) in spectra:
        rows = omega == excitation
        np.testing.assert_array_equal(e, energy[rows])
        np.testing.assert_array_equal(i, intensity[rows])


def test_a_reader_refuses_a_damaged_file(demo_ws):
    (demo_ws / "RIXSEXP.DAT").write_text("7000\tnot a number\n")
    with pytest.raises(zephalo.Refused, match="RIXSEXP.DAT"):
        zephalo.Workspace(demo_ws).measured()
