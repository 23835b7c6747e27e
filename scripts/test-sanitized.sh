#!/usr/bin/env bash
# Builds the core and command-line tests in build-asan/ with AddressSanitizer
# and UndefinedBehaviorSanitizer and runs them; any report (a leak included)
# fails it. The desktop's logic lives in the core, so its dialog tests run in
# the plain build only; pass -DZEPHALO_BUILD_GUI=ON to sanitize them too.
#     scripts/test-sanitized.sh [CMAKE_OPTION...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Clang: its UndefinedBehaviorSanitizer checks more (an offset added to a
# null pointer, for one) and it builds this tree faster than GCC. -O1 -g1
# keeps the build quick while the reports keep their lines.
flags="-O1 -g1 -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_COMPILER=clang++ \
  -DZEPHALO_BUILD_BENCH=OFF -DZEPHALO_BUILD_PYTHON=OFF -DZEPHALO_BUILD_GUI=OFF "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" "$@" >/dev/null
cmake --build build-asan -j2
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# The process tests loop fewer times under the sanitizers; the package and
# the Python module (loaded by an interpreter built without the sanitizers)
# are checked in the plain build only.
export ZEPHALO_TEST_SANITIZED=1
# Each test program runs in one process, not one per test as ctest runs
# them: under the sanitizers a process's start-up costs more than most tests,
# and that doubled this phase. The command-line tests, ten times longer than
# the core's, run as two halves beside them.
pids=()
build-asan/tests/core_tests --gtest_brief=1 &
pids+=($!)
for shard in 0 1; do
  GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=$shard build-asan/tests/cli_tests --gtest_brief=1 &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
if [ "$status" -ne 0 ]; then
  echo "The sanitized tests failed." >&2
  exit 1
fi
# The desktop's tests, when a caller built them (-DZEPHALO_BUILD_GUI=ON).
if grep -q '^ZEPHALO_BUILD_GUI:BOOL=ON' build-asan/CMakeCache.txt; then
  ctest --test-dir build-asan --output-on-failure -j2 -R '^gui_'
fi

