#!/usr/bin/env bash
# Configures and builds build-asan/ with Clang's AddressSanitizer and
# UndefinedBehaviorSanitizer: the core and the command line with their tests
# (scripts/test-sanitized.sh runs them) and the fuzz targets (scripts/fuzz.sh
# runs them), the core instrumented for the fuzzer too, so that one sanitized
# build serves both. Arguments go to CMake, for example -DZEPHALO_BUILD_GUI=ON
# to sanitize the desktop's tests as well.
#     scripts/build-sanitized.sh [CMAKE_OPTION...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Clang: its UndefinedBehaviorSanitizer checks more (an offset added to a
# null pointer, for one) and it builds this tree faster than GCC. -O1 -g1
# keeps the build quick while the reports keep their lines.
flags="-O1 -g1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
flags+=" -fsanitize=fuzzer-no-link"
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_COMPILER=clang++ \
  -DZEPHALO_BUILD_BENCH=OFF -DZEPHALO_BUILD_PYTHON=OFF -DZEPHALO_BUILD_GUI=OFF \
  -DZEPHALO_BUILD_FUZZ=ON "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" "$@" >/dev/null
cmake --build build-asan -j2
