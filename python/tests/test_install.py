"""The package as cmake --install lays it out, and the demo that uses it."""

import os
import subprocess
import sys
from pathlib import Path

import pytest

from conftest import DEMO, SOURCE

BUILD = os.environ.get("ZEPHALO_BUILD_DIR")


def python_without_build_tree(code, **env):
    clean = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    clean.update(env)
    return subprocess.run(
        [sys.executable, "-c", code],
        capture_output=True,
        text=True,
        env=clean,
        check=False,
        cwd=os.path.expanduser("~"),  # "-c" puts the working folder first on sys.path
    )


@pytest.mark.skipif(not BUILD, reason="needs ZEPHALO_BUILD_DIR (run by CTest)")
def test_the_installed_package_imports_from_the_prefix(tmp_path):
    prefix = tmp_path / "prefix"
    subprocess.run(
        ["cmake", "--install", BUILD, "--component", "python", "--prefix", str(prefix)],
        check=True,
        capture_output=True,
    )
    packages = list(prefix.glob("lib/python3*/*-packages/zephalo"))
    assert len(packages) == 1
    for stub in ["__init__.py", "_zephalo.pyi", "py.typed"]:
        assert (packages[0] / stub).is_file(), stub
    code = "import zephalo; print(zephalo.__file__); print(zephalo.__version__)"
    done = python_without_build_tree(code, PYTHONPATH=str(packages[0].parent))
    assert done.returncode == 0, done.stderr
    where, version = done.stdout.splitlines()
    assert Path(where).resolve().is_relative_to(prefix.resolve())
    assert version and version[0].isdigit()


def test_the_demo_runs_headless_and_draws_its_figure(tmp_path):
    done = subprocess.run(
        [sys.executable, str(SOURCE / "examples" / "demo.py")],
        capture_output=True,
        text=True,
        cwd=tmp_path,
        env=dict(os.environ, MPLBACKEND="Agg", ZEPHALO_DEMO_DATA=str(DEMO)),
        check=False,
    )
    assert done.returncode == 0, done.stderr
    figures = [float(l.split("R = ")[1].split()[0]) for l in done.stdout.splitlines() if "R = " in l]
    # fluorescence, shipped, optimised, the optimised model in memory, its fit
    assert figures == pytest.approx([2.02, 7.08, 1.46, 1.46, 1.27], abs=0.006)
    assert (tmp_path / "zephalo_demo.png").read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
