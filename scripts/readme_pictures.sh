#!/usr/bin/env bash
# Retakes the README's pictures in docs/: runs the demo's command-line story
# up to "compare" in a fresh work space, grabs the dialogs offscreen on it,
# and draws the figure of the experiment panel with zephalo-cli. Run after
# scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
space=$(mktemp -d)
trap 'rm -rf "$space"' EXIT
export ZEPHALO_WORK_SPACE=$space/work QT_QPA_PLATFORM=offscreen
cli=build/src/zephalo-cli
$cli create >/dev/null
$cli import conv-xafs data/demo/Fe2O3_ConvXAFS.DAT >/dev/null
$cli import xrf data/demo/Fe2O3_XRF_Kbeta.DAT >/dev/null
$cli import rixs data/demo/Fe2O3_RIXS_7114eV.DAT >/dev/null
$cli import selective data/demo/Fe2O3.xspec >/dev/null
$cli edge --edge "Fe K-edge" >/dev/null
$cli xrf --A 7046,0.967,12 --B 7054.1,0.447,7.07 --C 7057.3,0.271,2.22 --D 7058.4,0.025,0.427 --store >/dev/null
$cli load-selective >/dev/null
$cli finish >/dev/null
$cli compute --omega 7114 >/dev/null
$cli compare >/dev/null
# The dialogs' pictures show the folder's own name: the picture test runs in HOME=$space.
HOME=$space ZEPHALO_PICTURES=$PWD/docs build/tests/gui_readme_pictures_test >/dev/null
$cli figure experiment --out docs/figure_experiment.png --size 1200x900 >/dev/null
$cli figure map --from 7105 --to 7135 --step 0.5 --out docs/figure_map.png --size 1200x900 >/dev/null
# The fit over the pre-edge with its band, last: it changes the working copy.
$cli fit --omega 7114 --from 7104 --to 7134 --band 100 >/dev/null
$cli figure xafs --out docs/figure_fit_band.png --size 1200x900 >/dev/null
echo "docs/: figure_fit_band.png main_window.png main_window_en.png workbench.png workbench_en.png walk_edge.png walk_xrf.png workbench_compare.png figure_experiment.png figure_map.png"
