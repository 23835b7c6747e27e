#!/usr/bin/env bash
# Sets up, builds and starts ZEPHALO. With no ZEPHALO_WORK_SPACE set, the
# program uses ~/ZEPHALO_WORK_SPACE; demo measurements are in data/demo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/src/zephalo "$@"
