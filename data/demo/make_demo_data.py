#!/usr/bin/env python3
"""Writes the demo measurements of data/demo (standard library only).

Run from anywhere: python3 data/demo/make_demo_data.py [path/to/Fe2O3_rt_01.xdi]
The random numbers are seeded, so the files come out the same every time.
"""
import math
import os
import random
import sys

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


def rixs(rng):
    """A measured-like RIXS spectrum excited in the pre-edge (7114 eV): the
    K-beta lines narrowed by the resonance, on the fluorescence's range, in
    the small absolute intensities of the detector's normalised counts."""
    lines = [(7058.6, 1.6, 615.0), (7057.4, 2.6, 420.0),
             (7054.9, 5.4, 120.0), (7047.2, 12.0, 95.0)]
    peak = max(sum(lorentzian(7020.0 + 0.05 * k, *l) for l in lines) for k in range(1100))
    points = []
    for k in range(276):
        e = 7020.0 + 0.2 * k
        clean = 0.0042 * sum(lorentzian(e, *l) for l in lines) / peak + 0.00004
        noisy = rng.gauss(clean, 0.015 * clean + 0.00002)
        points.append((round(e, 1), max(noisy, 0.0)))
    return points


def selective_xafs():
    """A calculated Fe K-edge selective XAFS relative to the edge, -10 to 30
    eV at 0.1 eV: two small pre-edge peaks (1s to 3d), the edge, the white
    line and a shoulder, in the units of a band-structure code."""
    points = []
    for k in range(401):
        e = -10.0 + 0.1 * k
        y = (lorentzian(e, -6.3, 1.2, 0.045) + lorentzian(e, -4.8, 1.4, 0.06)
             + 0.55 * (0.5 + math.atan(e / 1.6) / math.pi)
             + lorentzian(e, 8.5, 6.0, 0.55) + lorentzian(e, 17.0, 7.0, 0.22)
             - 0.06 * math.cos(e / 3.2) * (0.5 + math.atan((e - 5.0) / 2.0) / math.pi))
        points.append((round(e, 1), 0.0125 * y))
    return points


def main():
    xdi = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_XDI
    rng = random.Random(20011)
    write_pairs("Fe2O3_ConvXAFS.DAT", conventional_xafs(xdi), digits=9)
    write_pairs("Fe2O3_XRF_Kbeta.DAT", fluorescence(rng))
    write_pairs("Fe2O3_RIXS_7114eV.DAT", rixs(rng))
    write_pairs("Fe2O3.xspec", selective_xafs(), header="Energy(eV) Fe-K selective XAS")


if __name__ == "__main__":
    main()
