#!/usr/bin/env bash
# Cross-builds the core, zephalo-cli and their tests for 64-bit Windows with
# MinGW-w64 and runs the core tests and the command line's storage tests
# under Wine. Builds in BUILD_DIR (default build-windows); exit status 0 when
# every test passed.
#     scripts/test-windows.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --windows
build=$(realpath -m "${1:-build-windows}")
sysroot=$build/sysroot
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# The target's own libraries: GoogleTest built from Debian's sources, and
# the header-only CLI11 (its headers alone, never the host's /usr/include).
if [ ! -e "$sysroot/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$sysroot" \
    -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF "${launcher[@]}" >/dev/null
  cmake --build "$build/googletest" --target install >/dev/null
fi
mkdir -p "$sysroot/include" "$sysroot/share/cmake"
ln -sfn /usr/include/CLI "$sysroot/include/CLI"
rm -rf "$sysroot/share/cmake/CLI11"
cp -r /usr/share/cmake/CLI11 "$sysroot/share/cmake/CLI11"

# -O2 as the Linux build: at -O3 GCC 12 warns falsely inside std::string.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_FIND_ROOT_PATH="$sysroot" -DZEPHALO_BUILD_GUI=OFF -DZEPHALO_BUILD_BENCH=OFF \
  -DZEPHALO_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build "$build" --target core_tests cli_tests zephalo-cli

# A Wine prefix of its own, so that the user's is left alone.
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Left out: Windows refuses to move a folder that a step holds open without
# delete sharing, Wine lets it move (it keeps no share modes on folders).
declare -A skipped=([core_tests]=StepTest.AFolderMovedDuringTheStepStillReceivesItsFiles)
status=0
for tests in core_tests cli_tests; do
  echo "== $tests.exe under Wine"
  start=$SECONDS
  wine "$build/tests/$tests.exe" --gtest_brief=1 --gtest_filter="-${skipped[$tests]:-}" || status=1
  echo "== $tests.exe: $((SECONDS - start)) s"
done
wineserver -k 2>/dev/null || true
exit $status
