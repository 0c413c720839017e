#!/usr/bin/env bash
# The whole test command: installs what is missing, then configures, builds
# and tests every preset — native GCC, native Clang, the 32-bit Windows
# build under Wine, and Clang with AddressSanitizer, UndefinedBehaviorSanitizer
# and short fuzz runs — and prints a summary. Exits non-zero on any failure.
#
#   tools/test-all.sh [PRESET...]     (default: native win32 native-clang asan)
set -uo pipefail

# Nothing here reads the terminal; test programs get an empty input.
exec </dev/null

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(native win32 native-clang asan)

started=$(date +%s)
logs=build/logs
mkdir -p "$logs"

if ! tools/setup.sh all; then
  echo "test-all: installing the build requirements failed" >&2
  exit 1
fi

summary=()
total_passed=0
total_failed=0
failed=0

elapsed() { echo "$(($(date +%s) - $1))s"; }

for preset in "${presets[@]}"; do
  echo
  echo "=== $preset: configure"
  t0=$(date +%s)
  if ! cmake --preset "$preset" >"$logs/$preset-configure.log" 2>&1; then
    tail -n 40 "$logs/$preset-configure.log"
    summary+=("$(printf '%-13s configure FAILED' "$preset")")
    failed=1
    continue
  fi

  echo "=== $preset: build"
  if ! cmake --build --preset "$preset" >"$logs/$preset-build.log" 2>&1; then
    grep -E 'error|FAILED' -A5 "$logs/$preset-build.log" | head -n 80
    summary+=("$(printf '%-13s build FAILED (%s)' "$preset" "$(elapsed "$t0")")")
    failed=1
    continue
  fi
  warnings=$(grep -c 'warning:' "$logs/$preset-build.log" || true)
  if [ "$warnings" -ne 0 ]; then
    echo "--- $preset: $warnings compiler warnings:"
    grep 'warning:' "$logs/$preset-build.log" | sort -u | head -n 20
  fi
  built=$(elapsed "$t0")

  echo "=== $preset: test"
  t1=$(date +%s)
  ctest --preset "$preset" --timeout 600 2>&1 | tee "$logs/$preset-test.log" | grep -E 'tests passed|\*\*\*' || true
  if [ "$preset" = win32 ]; then
    # Stop the Wine server and Wine's background processes of the build's prefix.
    WINEPREFIX="$root/build/win32/wine/prefix" wineserver -k >/dev/null 2>&1 || true
  fi
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$logs/$preset-test.log" | tail -n 1)
  if [ -z "$line" ]; then
    tail -n 40 "$logs/$preset-test.log"
    summary+=("$(printf '%-13s tests did not run' "$preset")")
    failed=1
    continue
  fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  all=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  good=$((all - bad))
  total_passed=$((total_passed + good))
  total_failed=$((total_failed + bad))
  if [ "$bad" -ne 0 ] || [ "$all" -eq 0 ]; then
    failed=1
    sed -n '/The following tests FAILED/,$p' "$logs/$preset-test.log"
  fi
  summary+=("$(printf '%-13s %4d passed, %3d failed   warnings %3d   build %5s   tests %5s' \
    "$preset" "$good" "$bad" "$warnings" "$built" "$(elapsed "$t1")")")
done

echo
echo "=== Summary (logs in $logs/)"
for s in "${summary[@]}"; do echo "  $s"; done
echo "  wall time $(elapsed "$started")"
if [ "$failed" -ne 0 ]; then
  echo "test-all: FAILED"
fi
echo "Total: $total_passed passed, $total_failed failed"
exit "$failed"
