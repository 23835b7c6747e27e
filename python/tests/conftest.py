"""Shared fixtures: the demo data, zephalo-cli, and prepared work spaces."""

import os
import shutil
import subprocess
from pathlib import Path

import pytest

SOURCE = Path(os.environ.get("ZEPHALO_SOURCE_DIR", Path(__file__).resolve().parents[2]))
DEMO = SOURCE / "data" / "demo"
CLI = os.environ.get("ZEPHALO_CLI", str(SOURCE / "build" / "src" / "zephalo-cli"))

# The README's demo story up to the selective XAFS the calculation uses, as
# (positional words, options) for Workspace.step and zephalo-cli alike.
PREPARE = [
    (["create"], {}),
    (["import", "conv-xafs", str(DEMO / "Fe2O3_ConvXAFS.DAT")], {}),
    (["import", "xrf", str(DEMO / "Fe2O3_XRF_Kbeta.DAT")], {}),
    (["import", "rixs", str(DEMO / "Fe2O3_RIXS_7114eV.DAT")], {}),
    (["import", "selective", str(DEMO / "Fe2O3.xspec")], {}),
    (["edge"], {"edge": "Fe K-edge"}),
    (
        ["xrf"],
        {
            "A": (7046, 0.967, 12),
            "B": (7054.1, 0.447, 7.07),
            "C": (7057.3, 0.271, 2.22),
            "D": (7058.4, 0.025, 0.427),
            "rfactor": True,
            "store": True,
        },
    ),
    (["load-selective"], {}),
    (["finish"], {}),
]


def cli_words(words, options):
    """The zephalo-cli command line of one step, written out by hand."""
    line = [words[0]]
    for name, value in options.items():
        flag = "--" + name.rstrip("_").replace("_", "-")
        if value is True:
            line.append(flag)
        elif isinstance(value, tuple):
            line += [flag, ",".join(str(v) for v in value)]
        else:
            line += [flag, str(value)]
    return line + words[1:]


def run_cli(folder, words, options=None):
    """Runs the zephalo-cli executable on `folder`; returns the finished process."""
    return subprocess.run(
        [CLI, "--workspace", str(folder)] + cli_words(words, options or {}),
        capture_output=True,
        text=True,
        check=False,
    )


def files_of(folder):
    """Every work-space file (.DAT) in `folder` with its bytes, by name; the
    history beside them records times and is left out."""
    folder = Path(folder)
    return {p.name: p.read_bytes() for p in sorted(folder.glob("*.DAT")) if p.is_file()}


@pytest.fixture(scope="session")
def demo_template(tmp_path_factory):
    """A demo work space prepared by zephalo-cli up to "finish" (never changed)."""
    folder = tmp_path_factory.mktemp("template") / "ws"
    for words, options in PREPARE:
        done = run_cli(folder, words, options)
        assert done.returncode == 0, done.stderr
    return folder


@pytest.fixture
def demo_ws(demo_template, tmp_path):
    """A fresh copy of the prepared demo work space."""
    folder = tmp_path / "ws"
    shutil.copytree(demo_template, folder)
    return folder
