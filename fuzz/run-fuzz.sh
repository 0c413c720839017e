#!/usr/bin/env bash
# Runs each fuzz target for SECONDS (default 30) on a corpus seeded from
# fuzz/corpus/, examples/ and a few small generated boards. Needs a build
# with ORVIK_BUILD_FUZZ (the asan preset). Exits non-zero on any finding;
# crashing inputs land in BUILD_DIR/fuzz/artifacts/.
#
#   fuzz/run-fuzz.sh [SECONDS] [BUILD_DIR]      (default build dir: build/asan)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build=${2:-$root/build/asan}
bin=$build/bin
work=$build/fuzz
mkdir -p "$work/artifacts"

for target in tokenizer import; do
  [ -x "$bin/orvik_fuzz_$target" ] || {
    echo "run-fuzz: $bin/orvik_fuzz_$target missing; build the asan preset first" >&2
    exit 2
  }
done

# Seeds: the committed ones, the example board and small generated boards.
seeds=$work/seeds
mkdir -p "$seeds"
cp "$root"/fuzz/corpus/* "$root"/examples/*.pcb "$seeds"/
if [ -x "$bin/orvik-gen" ]; then
  for n in 1 2 3; do
    "$bin/orvik-gen" --seed "$n" --components "$n" -o "$seeds/generated-$n.pcb"
  done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for target in tokenizer import; do
  corpus=$work/corpus-$target
  mkdir -p "$corpus"
  log=$work/$target.log
  echo "=== fuzz $target: $seconds s"
  if ! "$bin/orvik_fuzz_$target" "$corpus" "$seeds" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$work/artifacts/$target-" >"$log" 2>&1; then
    status=1
    tail -n 60 "$log"
    echo "run-fuzz: $target FAILED (log $log)"
  fi
  # The last status line (executions, coverage) and the rate.
  grep -E '^#[0-9]+' "$log" | tail -n 1 || true
  grep -E 'stat::(number_of_executed_units|average_exec_per_sec)' "$log" || true
done
exit "$status"
