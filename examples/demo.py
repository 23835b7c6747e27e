"""The README's demo story in Python, ending in a figure.

On the Fe2O3 demo data: build a work space step by step (the same steps as the
desktop program and zephalo-cli), compute the RIXS spectrum at 7114 eV,
compare it with the measurement (R about 7.08 %), let the optimisation find
the missing pre-edge peak (R about 1.46 %), then draw the measured and
calculated spectra and the RIXS map of the corrected model.

Runs as a script (``python3 examples/demo.py``; without a display it saves
``zephalo_demo.png``) or pasted into a notebook cell as it is. The work space
is a new temporary folder; set ZEPHALO_DEMO_DATA to the folder of the demo
files when they are not found by themselves.
"""

import os
import sys
import tempfile
from pathlib import Path

import matplotlib
import matplotlib.pyplot as plt
import numpy as np

import zephalo


def demo_data() -> Path:
    """The folder of the demo measurements (data/demo, or where it is installed)."""
    here = Path(globals().get("__file__", Path.cwd() / "demo.py")).resolve().parent
    candidates = [
        Path(os.environ.get("ZEPHALO_DEMO_DATA", here)),
        here.parent / "data" / "demo",
        Path.cwd() / "data" / "demo",
        here.parent / "demo",  # installed: share/doc/zephalo/{examples,demo}
        Path(sys.prefix) / "share" / "doc" / "zephalo" / "demo",
        Path("/usr/share/doc/zephalo/demo"),
        Path.home() / "ZEPHALO",
    ]
    for folder in candidates:
        if (folder / "Fe2O3.xspec").is_file():
            return folder
    raise FileNotFoundError("demo data not found: set ZEPHALO_DEMO_DATA to data/demo")


data = demo_data()
ws = zephalo.Workspace(Path(tempfile.mkdtemp(prefix="zephalo_demo_")) / "ws")
ws.step("create")
ws.step("import", "conv-xafs", data / "Fe2O3_ConvXAFS.DAT")
ws.step("import", "xrf", data / "Fe2O3_XRF_Kbeta.DAT")
ws.step("import", "rixs", data / "Fe2O3_RIXS_7114eV.DAT")
ws.step("import", "selective", data / "Fe2O3.xspec")
ws.step("edge", edge="Fe K-edge")
fit = ws.step(
    "xrf",
    A=(7046, 0.967, 12),
    B=(7054.1, 0.447, 7.07),
    C=(7057.3, 0.271, 2.22),
    D=(7058.4, 0.025, 0.427),
    rfactor=True,
    store=True,
)
print(f"fluorescence fit: R = {fit.r:.3g} %")
ws.step("load-selective")
ws.step("finish")
ws.step("compute", omega=7114)
before = ws.step("compare")
print(f"shipped selective XAFS: R = {before.r:.3g} %")
first = ws.calculated()
after = ws.step("optimise", omega=7114, from_=7110, to=7116)
print(f"after the optimisation: R = {after.r:.3g} %")

# The optimisation corrected the working copy of the selective XAFS;
# "finish" makes it the one the calculation uses. The corrected model in
# memory gives the spectrum at the measured excitation energy and the map.
ws.step("finish")
model = zephalo.Model.from_workspace(ws.path)
emission, total, first_component, second_component = model.spectrum(7114)
measured_energy, measured_intensity = ws.measured()
r = model.r_factor(7114, measured_energy, measured_intensity)
print(f"corrected model in memory: R = {r:.3g} %")
# The fit in memory: the profile fitted over a wide window, the smoothing
# chosen from the measured noise.
fitted = model.fit(7114, measured_energy, measured_intensity, from_=7104, to=7134)
print(f"fitted in memory (S = {fitted.smoothing:.3g}): R = {fitted.r:.3g} %")
omegas = np.arange(7105.0, 7135.0 + 0.125, 0.25)
plane = model.plane(omegas)

fig, (left, right) = plt.subplots(1, 2, figsize=(12, 4.5))
left.plot(measured_energy, measured_intensity, "r.", markersize=3, label="measured (7114 eV)")
left.plot(first[0], first[1], color="0.6", label=f"calculated, shipped (R {before.r:.3g} %)")
left.plot(emission, total, "b", label=f"calculated, optimised (R {r:.3g} %)")
left.plot(emission, first_component, "b:", linewidth=0.8, label="components")
left.plot(emission, second_component, "b:", linewidth=0.8)
left.set_xlabel("emission energy (eV)")
left.set_ylabel("intensity")
left.legend(fontsize="small")
image = right.pcolormesh(emission, omegas, plane, shading="auto", cmap="viridis")
right.axhline(7114, color="magenta", linewidth=0.8)
right.set_xlabel("emission energy (eV)")
right.set_ylabel("excitation energy (eV)")
right.set_title("RIXS map")
fig.colorbar(image, ax=right, label="intensity")
fig.tight_layout()

if matplotlib.get_backend().lower() == "agg":
    fig.savefig("zephalo_demo.png", dpi=100)
    print("figure: zephalo_demo.png")
else:
    plt.show()
