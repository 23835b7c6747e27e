#!/usr/bin/env bash
# Installs the Debian packages ZEPHALO builds, tests and packs with; does
# nothing when they are all present already. With --windows, also what the
# Windows check (scripts/test-windows.sh) needs: MinGW-w64, GoogleTest's
# sources and Wine.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  fonts-noto-cjk qt6-translations-l10n locales xvfb xauth
  clang libclang-rt-14-dev ccache
  libqcustomplot-dev libqcustomplot2.1-qt6
  libhdf5-dev coinor-libclp-dev libeigen3-dev
  pybind11-dev python3-dev python3-numpy python3-pytest python3-matplotlib
  file dpkg-dev help2man desktop-file-utils gettext
)
if [ "${1:-}" = --windows ]; then
  packages+=(g++-mingw-w64-x86-64-posix googletest wine64)
fi
# Japanese or English by the programs' own rule: ZEPHALO_LANG, else the first
# locale variable set (ja* Japanese; C, POSIX and none keep Japanese).
say() {
  local locale=${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}
  case "${ZEPHALO_LANG:-}" in
    ja) locale=ja ;;
    en) locale=en ;;
  esac
  case "$locale" in
    ja* | '' | C | POSIX | C.*) echo "$1" ;;
    *) echo "$2" ;;
  esac
}
# apt-get as root, through sudo otherwise; without sudo, one line on what to
# install (or to run this as root) instead of "sudo: command not found".
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    say "setup.sh: sudo がありません。root で scripts/setup.sh を実行するか、root で次を実行して下さい: $root_hint" \
      "setup.sh: there is no sudo. Run scripts/setup.sh as root, or run this as root: $root_hint" >&2
    exit 1
  fi
}
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  root_hint="apt-get install ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# A comma-decimal locale, for the test that proves number text ignores the locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  root_hint="sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen && locale-gen"
  as_root sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  as_root locale-gen >/dev/null
fi
