#!/usr/bin/env bash
# Bounded fuzzing of the value field's rules: builds the libFuzzer targets
# (clang++, no Qt) into build/fuzz, checks every committed corpus file, then
# runs each target for a fixed number of executions from a copy of its seed
# corpus. Exits non-zero on any finding; a finding's input is left under
# build/fuzz/findings/<target>/.
#
# To fuzz longer, give a number of executions or a time per target:
#   FUZZ_RUNS=5000000 tests/fuzz/run.sh
#   FUZZ_SECONDS=600 tests/fuzz/run.sh        (runs until the time is up)
# To replay one input: build/fuzz/fuzz_normalize path/to/input
# A finding that is kept as a regression input goes into
# tests/fuzz/corpus/<target>/ under a name starting with "regression-".
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/fuzz"
runs=${FUZZ_RUNS:-200000}
seconds=${FUZZ_SECONDS:-}

cmake -S "$root/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

# -max_len: the keystroke input is a 7-byte header and a field text of up to
# eight bytes; the normaliser takes any bytes, long enough for overlong numbers.
declare -A options=(
  [fuzz_keystrokes]="-max_len=15"
  [fuzz_normalize]="-max_len=1024 -dict=$root/tests/fuzz/normalize.dict"
)

limit=(-runs="$runs")
if [ -n "$seconds" ]; then
  limit=(-runs=-1 -max_total_time="$seconds")
fi

failed=0
for target in fuzz_keystrokes fuzz_normalize; do
  binary="$build/$target"
  seeds="$root/tests/fuzz/corpus/$target"
  work="$build/run/$target"
  findings="$build/findings/$target"
  rm -rf "$work" "$findings"
  mkdir -p "$work/corpus" "$findings"

  # Every corpus file on its own first, so that each open regression input is
  # named, and the fuzzing below starts only from inputs that pass.
  for input in "$seeds"/*; do
    if "$binary" "$input" >"$work/replay.log" 2>&1; then
      cp "$input" "$work/corpus/"
    else
      echo "FAIL $target: corpus input $(basename "$input")"
      grep -E "INVARIANT BROKEN|ERROR: (Address|Undefined)|runtime error" "$work/replay.log" |
        head -3 | sed 's/^/    /'
      failed=1
    fi
  done

  start=$(date +%s)
  # shellcheck disable=SC2086 # the options are words
  if "$binary" "${limit[@]}" ${options[$target]} -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work/corpus" >"$work/fuzz.log" 2>&1; then
    status=ok
  else
    status=FAIL
    failed=1
  fi
  elapsed=$(($(date +%s) - start))
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log")
  echo "$status $target: ${executions:-?} executions in ${elapsed} s" \
    "(log: build/fuzz/run/$target/fuzz.log)"
  if [ "$status" = FAIL ]; then
    grep -E "INVARIANT BROKEN|ERROR: |runtime error|SUMMARY" "$work/fuzz.log" | head -5 |
      sed 's/^/    /'
    for finding in "$findings"/*; do
      echo "    finding: build/fuzz/findings/$target/$(basename "$finding")"
    done
  fi
done
exit "$failed"
