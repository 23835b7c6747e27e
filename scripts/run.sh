#!/usr/bin/env bash
# Sets up, builds and starts ZEPHALO. The work space is ~/ZEPHALO_WORK_SPACE
# unless ZEPHALO_WORK_SPACE names another folder. On the first run the demo
# measurements of data/demo are copied to ~/ZEPHALO, where the program's
# file dialogs open. Without a display the program says so in one line and
# how to run it instead (xvfb-run, or QT_QPA_PLATFORM=offscreen for scripts).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ ! -e "$HOME/ZEPHALO" ]; then
  mkdir -p "$HOME/ZEPHALO"
  cp data/demo/*.DAT data/demo/*.xspec "$HOME/ZEPHALO/"
  echo "Demo measurements copied to $HOME/ZEPHALO"
fi
exec build/src/zephalo "$@"
