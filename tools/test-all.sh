#!/usr/bin/env bash
# The whole test command: installs what is missing, then configures, builds
# and tests every preset — native GCC, the 32-bit and the 64-bit Windows
# builds under Wine, native Clang, and Clang with AddressSanitizer,
# UndefinedBehaviorSanitizer and short fuzz runs — and prints a summary.
# Exits non-zero on any failure.
#
#   tools/test-all.sh [PRESET...]     (default: native win32 win64 native-clang asan)
#
# On a machine that cannot run 32-bit programs (tools/probe-32bit, asked once
# per run) the win32 build is still built and its DLL file checked natively
# (the tests labelled dll-file), but its Wine run is skipped: the summary
# says so on a line of its own, and the skipped tests are counted apart.
# A skip does not fail the run. ORVIK_32BIT=no tools/test-all.sh runs a
# machine that can as one that cannot. A test that skips itself is counted
# as skipped too, not as passed.
set -uo pipefail

# Nothing here reads the terminal; test programs get an empty input.
exec </dev/null

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(native win32 win64 native-clang asan)

started=$(date +%s)
logs=build/logs
mkdir -p "$logs"

if ! tools/setup.sh all; then
  echo "test-all: installing the build requirements failed" >&2
  exit 1
fi
# Setup installed KiCad, so its tests must run, not skip themselves.
export ORVIK_REQUIRE_KICAD=1

summary=()
total_passed=0
total_failed=0
total_skipped=0
failed=0

elapsed() { echo "$(($(date +%s) - $1))s"; }

# Stops Wine's server and background processes of the presets' prefixes.
stop_wine() {
  local preset
  for preset in "$@"; do
    case "$preset" in
      win32) tools/wine-run --stop "$root/build/win32/wine/prefix" ;;
      win64) tools/wine-run --win64 --stop "$root/build/win64/wine/prefix" ;;
    esac
  done
}
# Every prefix this run used is stopped at its end, however it ends.
trap 'stop_wine "${presets[@]}"' EXIT

# Can this machine run 32-bit Windows programs? Asked once, for win32.
run32=yes
for preset in "${presets[@]}"; do
  [ "$preset" = win32 ] || continue
  probe=$(tools/probe-32bit --wine "$root/build/wine-probe/prefix")
  probe_status=$?
  [ "$probe_status" -le 1 ] || exit 1
  echo "test-all: can this machine run 32-bit programs? $probe"
  if [ "$probe_status" -ne 0 ]; then
    run32=no
    why=${probe#no: }
  fi
done

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
  only=()
  if [ "$preset" = win32 ] && [ "$run32" = no ]; then
    # Only what needs no Wine: the DLL file checks.
    only=(-L dll-file)
    not_run=$(ctest --preset "$preset" -N -LE dll-file | sed -n 's/^Total Tests: *//p')
  fi
  ctest --preset "$preset" --timeout 600 ${only[@]+"${only[@]}"} 2>&1 | tee "$logs/$preset-test.log" |
    grep -E 'tests passed|\*\*\*' || true
  stop_wine "$preset"
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$logs/$preset-test.log" | tail -n 1)
  if [ -z "$line" ]; then
    tail -n 40 "$logs/$preset-test.log"
    summary+=("$(printf '%-13s tests did not run' "$preset")")
    failed=1
    continue
  fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  all=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  # CTest counts a test that skipped itself among the passed ones; here it
  # is a skip.
  skipped=$(grep -c ' (Skipped)$' "$logs/$preset-test.log" || true)
  good=$((all - bad - skipped))
  total_passed=$((total_passed + good))
  total_failed=$((total_failed + bad))
  total_skipped=$((total_skipped + skipped))
  if [ "$bad" -ne 0 ] || [ "$all" -eq 0 ]; then
    failed=1
    sed -n '/The following tests FAILED/,$p' "$logs/$preset-test.log"
  fi
  summary+=("$(printf '%-13s %4d passed, %3d failed   warnings %3d   build %5s   tests %5s' \
    "$preset" "$good" "$bad" "$warnings" "$built" "$(elapsed "$t1")")")
  [ "$skipped" -eq 0 ] || summary[-1]+="   ($skipped skipped: $(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' \
    "$logs/$preset-test.log" | paste -sd' '))"
  if [ ${#only[@]} -ne 0 ]; then
    summary[-1]+="   (DLL file checks only)"
    checked="its file checked"
    [ "$bad" -eq 0 ] || checked="its file check FAILED"
    summary+=("$(printf '%-13s run SKIPPED: %s; the DLL was built and %s (%d Wine tests not run)' \
      "$preset" "$why" "$checked" "${not_run:-0}")")
    total_skipped=$((total_skipped + ${not_run:-0}))
  fi
done

echo
echo "=== Summary (logs in $logs/)"
for s in "${summary[@]}"; do echo "  $s"; done
echo "  wall time $(elapsed "$started")"
if [ "$failed" -ne 0 ]; then
  echo "test-all: FAILED"
fi
if [ "$total_skipped" -ne 0 ]; then
  echo "Total: $total_passed passed, $total_failed failed, $total_skipped skipped"
else
  echo "Total: $total_passed passed, $total_failed failed"
fi
exit "$failed"
