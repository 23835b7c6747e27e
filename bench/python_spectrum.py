"""Time zephalo.Model.spectrum and Model.plane from Python (median of 50 calls).

    PYTHONPATH=build/python /usr/bin/python3 bench/python_spectrum.py

Prepares the demo work space in a temporary folder, then times the spectrum
on the default emission grid (7020-7065 eV at 0.1 eV) with the demo's
selective XAFS (401 points) and with 2001 points (0.1 eV apart from 15 eV
below the edge, as the core benchmark BM_RixsFast_450x2001).
"""

import statistics
import sys
import tempfile
import time
from pathlib import Path

import numpy as np

import zephalo

DEMO = Path(__file__).resolve().parents[1] / "data" / "demo"


def median_ms(call, repeats=50):
    call()
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        call()
        times.append(time.perf_counter() - start)
    return 1000 * statistics.median(times)


def demo_workspace(folder):
    ws = zephalo.Workspace(folder)
    ws.step("create")
    ws.step("import", "conv-xafs", DEMO / "Fe2O3_ConvXAFS.DAT")
    ws.step("import", "xrf", DEMO / "Fe2O3_XRF_Kbeta.DAT")
    ws.step("import", "rixs", DEMO / "Fe2O3_RIXS_7114eV.DAT")
    ws.step("import", "selective", DEMO / "Fe2O3.xspec")
    ws.step("edge", edge="Fe K-edge")
    ws.step("load-selective")
    ws.step("finish")
    return ws


def main():
    ws = demo_workspace(Path(tempfile.mkdtemp()) / "ws")
    model = ws.model()
    edge = 7114.0
    energies = edge - 15 + 0.1 * np.arange(2001)
    u = energies - edge
    wide = model.with_profile(energies, 0.5 + np.arctan(u / 1.5) / np.pi, 0.6 + 0 * u)
    print(f"{'case':<34}{'points':>8}{'median ms':>12}")
    for name, m in [("demo selective XAFS", model), ("2001 selective points", wide)]:
        n = len(m.selective[0])
        print(f"{'spectrum, ' + name:<34}{n:>8}{median_ms(lambda: m.spectrum(7114)):>12.3f}")
    omegas = np.arange(7105.0, 7135.01, 0.25)
    ms = median_ms(lambda: wide.plane(omegas), repeats=5)
    print(f"{'plane of 121 rows, 2001 points':<34}{2001:>8}{ms:>12.3f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
