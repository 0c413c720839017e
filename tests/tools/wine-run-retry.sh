#!/usr/bin/env bash
# tools/wine-run tries a program once more only when Wine failed to start it
# (exit 1, "failed to map the shared user data"), never after a real failure,
# and keeps the program's own error output without Wine's channel lines.
set -uo pipefail
wine_run=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prefix/drive_c"
touch "$work/prefix/.orvik-ready"
# A stand-in loader: the first FAILS starts fail as Wine's failed start
# does, later ones print and exit with EXIT.
cat >"$work/loader" <<'LOADER'
#!/usr/bin/env bash
[ "${1:-}" = wineboot ] && exit 0
count_file=$STANDIN_DIR/count
n=$(cat "$count_file" 2>/dev/null || echo 0)
echo $((n + 1)) >"$count_file"
if [ "$n" -lt "$FAILS" ]; then
  echo "0024:err:virtual:virtual_map_user_shared_data failed to map the shared user data: c0000018" >&2
  exit 1
fi
echo "ran $*"
echo "0024:err:virtual:some other message" >&2
echo "the program's own error" >&2
exit "$EXIT"
LOADER
chmod +x "$work/loader"

failed=0
# FAILS EXIT -> expected status, starts, stdout
check() {
  local fails=$1 exit_code=$2 want_status=$3 want_starts=$4 want_out=$5
  rm -f "$work/count"
  local out err status
  out=$(STANDIN_DIR=$work FAILS=$fails EXIT=$exit_code ORVIK_WINE_RUN_LOADER=$work/loader \
    "$wine_run" "$work/prefix" prog.exe arg 2>"$work/err")
  status=$?
  err=$(cat "$work/err")
  local starts
  starts=$(cat "$work/count")
  if [ "$status" != "$want_status" ] || [ "$starts" != "$want_starts" ] || [ "$out" != "$want_out" ]; then
    echo "FAIL: fails=$fails exit=$exit_code: status $status starts $starts stdout '$out' (want $want_status, $want_starts, '$want_out')"
    failed=1
  fi
  if [[ "$err" == *":err:virtual:"* ]]; then
    echo "FAIL: fails=$fails exit=$exit_code: Wine's channel lines passed on: $err"
    failed=1
  fi
  if [ "$fails" -le 1 ] && [ "$want_out" != "" ] && [[ "$err" != *"the program's own error"* ]]; then
    echo "FAIL: fails=$fails exit=$exit_code: the program's error output lost: $err"
    failed=1
  fi
}
check 0 0 0 1 "ran prog.exe arg"  # a plain start
check 0 1 1 1 "ran prog.exe arg"  # the program's own exit 1: no second start
check 1 3 3 2 "ran prog.exe arg"  # a failed start, then the program
check 2 0 1 2 ""                  # two failed starts: tried once more only
exit $failed
