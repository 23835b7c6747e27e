#!/usr/bin/env python3
"""Writes the demo measurements of data/demo (standard library only).

Run from the repository folder after a build:

    python3 data/demo/make_demo_data.py [--cli build/src/zephalo-cli] [path/to/Fe2O3_rt_01.xdi]

The RIXS "measurement" is computed by zephalo-cli itself from a selective
XAFS with one more pre-edge peak than the shipped Fe2O3.xspec (the peak the
demo's optimisation is meant to find), plus counting noise. The random
numbers are seeded, so the files come out the same every time.
"""
import argparse
import math
import os
import random
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_XDI = "/work/shared/data/xafs/Fe2O3_rt_01.xdi"

# Fe K-beta 1,3 as four Lorentzians (energy eV, FWHM eV, peak height),
# Hoelzer et al., Phys. Rev. A 56, 4554 (1997), Table III.
KBETA = [(7058.36, 1.97, 615.0), (7057.21, 3.12, 448.0),
         (7054.75, 6.38, 141.0), (7046.90, 14.17, 107.0)]


def lorentzian(e, centre, fwhm, height):
    half = fwhm / 2.0
    return height * half * half / ((e - centre) ** 2 + half * half)


def write_pairs(name, points, header=None, digits=6):
    with open(os.path.join(HERE, name), "w", newline="\n") as out:
        if header:
            out.write(header + "\n")
        for e, i in points:
            out.write(f"{e:.{digits}g}\t{i:.6g}\n")


def conventional_xafs(xdi_path):
    """mu(E) = ln(I0 / Itrans), columns found by their '# Column.N:' names."""
    columns = {}
    rows = []
    with open(xdi_path) as xdi:
        for line in xdi:
            if line.startswith("#"):
                key, _, value = line[1:].partition(":")
                if key.strip().lower().startswith("column."):
                    index = int(key.strip().split(".")[1]) - 1
                    columns[value.split()[0].lower()] = index
                continue
            if line.strip():
                rows.append([float(v) for v in line.split()])
    e, i0, it = columns["energy"], columns["i0"], columns["itrans"]
    return [(r[e], math.log(r[i0] / r[it])) for r in rows]


def fluorescence(rng):
    """Fe K-beta counts from 7020 to 7075 eV at 0.1 eV, with counting noise."""
    points = []
    peak = sum(lorentzian(7058.0, *line) for line in KBETA)
    for k in range(551):
        e = 7020.0 + 0.1 * k
        expected = 25.0 + 30000.0 * sum(lorentzian(e, *line) for line in KBETA) / peak
        points.append((round(e, 1), max(0, round(rng.gauss(expected, math.sqrt(expected))))))
    return points


# The final-state function of the README's `xrf` example (position,
# amplitude, width of the lines A-D), fitted to the demo fluorescence.
XRF_LINES = {"A": ("7046", "0.967", "12"), "B": ("7054.1", "0.447", "7.07"),
             "C": ("7057.3", "0.271", "2.22"), "D": ("7058.4", "0.025", "0.427")}

# The pre-edge peak the shipped selective XAFS lacks (relative to the edge,
# eV; FWHM eV; height), and the excitation energy of the RIXS measurement.
MISSING_PEAK = (-3.5, 2.0, 0.25)
EXCITATION = "7114"


def selective_xafs(extra_peaks=()):
    """A calculated Fe K-edge selective XAFS relative to the edge, -10 to 30
    eV at 0.1 eV: two small pre-edge peaks (1s to 3d), the edge, the white
    line and a shoulder, in the units of a band-structure code."""
    points = []
    for k in range(401):
        e = -10.0 + 0.1 * k
        y = (lorentzian(e, -6.3, 1.2, 0.045) + lorentzian(e, -4.8, 1.4, 0.06)
             + sum(lorentzian(e, *peak) for peak in extra_peaks)
             + 0.55 * (0.5 + math.atan(e / 1.6) / math.pi)
             + lorentzian(e, 8.5, 6.0, 0.55) + lorentzian(e, 17.0, 7.0, 0.22)
             - 0.06 * math.cos(e / 3.2) * (0.5 + math.atan((e - 5.0) / 2.0) / math.pi))
        points.append((round(e, 1), 0.0125 * y))
    return points


def in_demo_workspace(cli, selective, commands):
    """Runs `commands(run, work, scratch)` in a fresh work space prepared from
    the demo's inputs and the selective XAFS `selective`, up to "修正終了！"."""
    with tempfile.TemporaryDirectory() as scratch:
        xspec = os.path.join(scratch, "selective.xspec")
        write_pairs(xspec, selective, header="Energy(eV) Fe-K selective XAS")
        work = os.path.join(scratch, "ws")

        def run(*words):
            subprocess.run([cli, "--workspace", work, *words], check=True,
                           stdout=subprocess.DEVNULL)

        run("create")
        run("import", "conv-xafs", os.path.join(HERE, "Fe2O3_ConvXAFS.DAT"))
        run("import", "xrf", os.path.join(HERE, "Fe2O3_XRF_Kbeta.DAT"))
        # The workbench's gate wants a measured RIXS file; any will do here.
        run("import", "rixs", os.path.join(HERE, "Fe2O3_XRF_Kbeta.DAT"))
        run("import", "selective", xspec)
        run("edge", "--edge", "Fe K-edge")
        lines = [f"--{name}={','.join(values)}" for name, values in XRF_LINES.items()]
        run("xrf", *lines, "--store")
        run("load-selective")
        run("finish")
        return commands(run, work, scratch)


def read_rows(path):
    with open(path) as text:
        return [[float(v) for v in line.split()] for line in text if line.strip()]


def calculated_rixs(cli, selective):
    """The RIXS spectrum at EXCITATION that zephalo-cli computes from the
    selective XAFS `selective` with the demo's other inputs: rows of energy,
    total, component 1, component 2 on the emission grid (0.1 eV)."""
    def compute(run, work, _):
        run("compute", "--omega", EXCITATION)
        return read_rows(os.path.join(work, "Calculated_RIXS.DAT"))
    return in_demo_workspace(cli, selective, compute)


def calculated_plane(cli, selective):
    """The RIXS plane that zephalo-cli computes at MAP_EXCITATIONS (from, to,
    step) from `selective`: the matrix that `plane` writes (first row the
    count and the emission energies, then Ω and the totals)."""
    def plane(run, _, scratch):
        out = os.path.join(scratch, "plane.txt")
        first, last, step = MAP_EXCITATIONS
        run("plane", "--from", first, "--to", last, "--step", step, "--out", out)
        return read_rows(out)
    return in_demo_workspace(cli, selective, plane)


# The measured map: excitation energies from, to, step (eV).
MAP_EXCITATIONS = ("7106", "7126", "1")


def rixs_map(cli):
    """The measured RIXS map: the plane from the selective XAFS with
    MISSING_PEAK, with the same counting noise as the single spectrum, from a
    seed of its own (so the other files stay as they are)."""
    rng = random.Random(20012)
    rows = calculated_plane(cli, selective_xafs([MISSING_PEAK]))
    header, body = rows[0], rows[1:]
    lines = ["\t".join(f"{v:.6g}" for v in [int(header[0])] + header[1:])]
    for row in body:
        noisy = [max(rng.gauss(v, 0.015 * v + 2e-6), 0.0) for v in row[1:]]
        lines.append("\t".join(f"{v:.6g}" for v in [row[0]] + noisy))
    with open(os.path.join(HERE, "Fe2O3_RIXS_map.DAT"), "w", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


def rixs(rng, cli):
    """The RIXS "measurement" at EXCITATION: the spectrum zephalo-cli computes
    from the selective XAFS with MISSING_PEAK, with counting noise of 1.5 %
    plus a small floor."""
    points = []
    for row in calculated_rixs(cli, selective_xafs([MISSING_PEAK])):
        clean = row[1]
        noisy = rng.gauss(clean, 0.015 * clean + 2e-6)
        points.append((round(row[0], 1), max(noisy, 0.0)))
    return points


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default=os.path.join(HERE, "..", "..", "build", "src",
                                                      "zephalo-cli"))
    parser.add_argument("xdi", nargs="?", default=DEFAULT_XDI)
    parser.add_argument("--map-only", action="store_true",
                        help="write only the measured map Fe2O3_RIXS_map.DAT")
    arguments = parser.parse_args()
    if arguments.map_only:
        rixs_map(arguments.cli)
        return
    rng = random.Random(20011)
    write_pairs("Fe2O3_ConvXAFS.DAT", conventional_xafs(arguments.xdi), digits=9)
    write_pairs("Fe2O3_XRF_Kbeta.DAT", fluorescence(rng))
    write_pairs("Fe2O3.xspec", selective_xafs(), header="Energy(eV) Fe-K selective XAS")
    write_pairs("Fe2O3_RIXS_7114eV.DAT", rixs(rng, arguments.cli))
    rixs_map(arguments.cli)


if __name__ == "__main__":
    main()
