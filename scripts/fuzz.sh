#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ in the sanitized tree build-asan/
# (scripts/build-sanitized.sh: Clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time, seeded from
# the files of data/ and tests/data. Fails on any crash, leak, sanitizer report
# or broken property; the input that caused it is kept in build-asan/fuzz/findings.
# Usage: scripts/fuzz.sh [seconds per target, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
build=build-asan/fuzz

scripts/build-sanitized.sh

# Seeds: the project's sample files, a few one-line records, and any
# regression inputs kept in fuzz/regressions.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
for dir in data tests/data fuzz/regressions; do
  [ -d "$dir" ] || continue
  find "$dir" -type f ! -name '*.md' ! -name '*.py' -size -64k -exec cp -t "$seeds" {} +
done
printf '1.25\t7120\t7020\t7065\t0.1\t1\t7.9e-09\n' >"$seeds/parameters.DAT"
printf '1\t8.12\t5.78\t1.9\t1.07\t7045\t7056\t7058.8\t7060.1\t0.75\t0.305\t0.15\t0.105\n' \
  >"$seeds/lorentz.DAT"
printf '7020\t7065\t0\t1.2\n' >"$seeds/minmax.DAT"
printf '# E Y1 Y2\r7110.5\t0.1\t0.2\r7110.6\t0.3\t0.4\r' >"$seeds/general_cr.DAT"
printf 'E I x y\n-10.0 0.01\n-9.9 0.02\n' >"$seeds/small.xspec"
printf '7114.0\n' >"$seeds/value.DAT"

findings="$build/findings"
mkdir -p "$findings"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:allocator_may_return_null=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=()
for target in "$build"/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  log="$build/$name.log"
  echo "== $name (${seconds}s)"
  if "$target" "$corpus" "$seeds" -dict=fuzz/numbers.dict -max_total_time="$seconds" \
    -max_len=4096 -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/$name-" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$log" | tail -n 2 || true
  else
    failed+=("$name")
    echo "FAILED: $name (log: $log)"
    grep -E 'ERROR|SUMMARY|property violated|runtime error' "$log" | head -n 20 || true
  fi
done
if ((${#failed[@]})); then
  echo "Fuzzing found faults in: ${failed[*]}; inputs in $findings" >&2
  exit 1
fi
echo "Fuzzing found nothing."
