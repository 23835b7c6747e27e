#!/usr/bin/env bash
# Sets up, builds and starts ZEPHALO. The work space is ~/ZEPHALO_WORK_SPACE
# unless ZEPHALO_WORK_SPACE names another folder. On its first start the
# program copies the demo measurements of data/demo to ~/ZEPHALO, where its
# file dialogs open. Without a display the program says so in one line and
# how to run it instead (xvfb-run, or QT_QPA_PLATFORM=offscreen for scripts).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/src/zephalo "$@"
