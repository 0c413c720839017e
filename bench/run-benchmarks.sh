#!/usr/bin/env bash
# End-to-end import benchmark: generates boards of 1x, 4x and 16x the base
# size (5000 components, about 10 MB), imports each through orvik-host and
# prints size, records, wall time, throughput and peak resident memory, next
# to the time `LC_ALL=C wc -w` takes on the same file: the floor of reading
# the text and splitting it into words. The same files are imported through
# LoadOrvikListScan, the plug-in whose net and component lookups scan their
# lists (up to --list-scan-max; it grows quadratically), to show what the
# number index gains. --per-kind reports peak memory per record kind.
set -euo pipefail

usage() {
  cat <<'EOF'
usage: bench/run-benchmarks.sh [options]

  --smoke            one tiny board only (fast; for CI)
  --scales "K ..."   board sizes in multiples of the base board (default "1 4 16")
  --seed N           generator seed (default 1)
  --repeat N         runs per board; the fastest run is reported (default 1)
  --build-dir DIR    native Release build to use (default build/native-release)
  --no-build         use the build directory as it is; do not configure or build
  --work-dir DIR     where the boards go (default: a new directory under /tmp)
  --keep             keep the generated boards
  --list-scan-max K  run the list-scan plug-in on boards up to K x only
                     (default 4; 0: never)
  --per-kind         also import one board per record kind (1x counts of
                     that kind only) and report peak memory per record
  -h, --help         show this text

Environment:
  ORVIK_HOST_FLAGS   extra options passed to `orvik-host import`
EOF
}

die() {
  echo "run-benchmarks: $*" >&2
  exit 1
}

script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$script_dir/.." && pwd)

smoke=0
scales="1 4 16"
seed=1
repeat=1
build_dir="$root/build/native-release"
build=1
work_dir=""
keep=0
list_scan_max=4
per_kind=0

need_value() {
  [[ $# -ge 2 && -n "$2" ]] || die "option $1 needs a value"
}
is_count() {
  [[ "$1" =~ ^[1-9][0-9]{0,5}$ ]]
}

while [[ $# -gt 0 ]]; do
  case "$1" in
    --smoke) smoke=1 ;;
    --scales) need_value "$@"; scales="$2"; shift ;;
    --seed) need_value "$@"; seed="$2"; shift ;;
    --repeat) need_value "$@"; repeat="$2"; shift ;;
    --build-dir) need_value "$@"; build_dir="$2"; shift ;;
    --no-build) build=0 ;;
    --work-dir) need_value "$@"; work_dir="$2"; shift ;;
    --keep) keep=1 ;;
    --list-scan-max) need_value "$@"; list_scan_max="$2"; shift ;;
    --per-kind) per_kind=1 ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; die "unknown option '$1'" ;;
  esac
  shift
done

[[ "$seed" =~ ^[0-9]{1,19}$ ]] || die "--seed takes a whole number, not '$seed'"
is_count "$repeat" || die "--repeat takes a whole number from 1, not '$repeat'"
for k in $scales; do
  is_count "$k" || die "--scales takes whole numbers from 1, not '$k'"
done
[[ -n "${scales// /}" ]] || die "--scales is empty"
[[ "$list_scan_max" =~ ^[0-9]{1,6}$ ]] || die "--list-scan-max takes a whole number, not '$list_scan_max'"

# Host options from the environment, split on blanks.
read -r -a host_flags <<<"${ORVIK_HOST_FLAGS:-}"

if [[ $build -eq 1 ]]; then
  if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
    echo "Configuring a native Release build in $build_dir" >&2
    cmake --preset native-release -B "$build_dir" -S "$root" >/dev/null
  fi
  echo "Building orvik-gen and orvik-host in $build_dir" >&2
  cmake --build "$build_dir" --target orvik-gen orvik-host LoadOrvik LoadOrvikListScan >/dev/null
fi

gen="$build_dir/bin/orvik-gen"
host="$build_dir/bin/orvik-host"
list_scan_plugin="$build_dir/bin/libLoadOrvikListScan.so"
if [[ $list_scan_max -gt 0 && ! -f "$list_scan_plugin" ]]; then
  echo "run-benchmarks: warning: $list_scan_plugin is not built; no list-scan runs" >&2
  list_scan_max=0
fi
[[ -x "$gen" ]] || die "orvik-gen is not built: expected $gen (build target orvik-gen, or drop --no-build)"
[[ -x "$host" ]] || die "orvik-host is not built: expected $host (build target orvik-host, or drop --no-build)"

build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build_dir/CMakeCache.txt" 2>/dev/null || true)
if [[ "$build_type" != "Release" ]]; then
  echo "run-benchmarks: warning: $build_dir is a '${build_type:-unknown}' build, not Release" >&2
fi

# Peak resident memory comes from GNU time (Debian package "time").
gnu_time=""
if [[ -x /usr/bin/time ]] && /usr/bin/time -f %M true >/dev/null 2>&1; then
  gnu_time=/usr/bin/time
else
  echo "run-benchmarks: warning: GNU time not found (install package 'time'); no peak memory" >&2
fi

if [[ -z "$work_dir" ]]; then
  work_dir=$(mktemp -d /tmp/orvik-bench.XXXXXX)
  created_work_dir=1
else
  mkdir -p "$work_dir"
  created_work_dir=0
fi
cleanup() {
  if [[ $keep -eq 0 ]]; then
    rm -f "$work_dir"/board-*.pcb "$work_dir"/*.out "$work_dir"/*.err "$work_dir"/*.mem
    [[ $created_work_dir -eq 1 ]] && rmdir "$work_dir" 2>/dev/null
  fi
  return 0
}
trap cleanup EXIT

now_ns() { date +%s%N; }

# Runs a command `repeat` times; sets best_ns (fastest wall time) and
# best_kb (peak resident memory of that run, empty without GNU time).
# Returns the command's failing exit code, if any.
# Reports a failed run (what, its label, its exit status) with its error
# output, and counts it.
run_failed() {
  echo "run-benchmarks: $1 failed on board $name (exit $3):" >&2
  sed 's/^/  /' "$work_dir/$2.err" >&2
  failures=$((failures + 1))
}

measure() {
  local label=$1
  shift
  best_ns=""
  best_kb=""
  local i start end rc kb
  for ((i = 0; i < repeat; i++)); do
    start=$(now_ns)
    rc=0
    if [[ -n "$gnu_time" ]]; then
      "$gnu_time" -f %M -o "$work_dir/$label.mem" "$@" >"$work_dir/$label.out" 2>"$work_dir/$label.err" || rc=$?
    else
      "$@" >"$work_dir/$label.out" 2>"$work_dir/$label.err" || rc=$?
    fi
    end=$(now_ns)
    [[ $rc -eq 0 ]] || return $rc
    kb=""
    [[ -n "$gnu_time" ]] && kb=$(tail -n 1 "$work_dir/$label.mem")
    if [[ -z "$best_ns" || $((end - start)) -lt $best_ns ]]; then
      best_ns=$((end - start))
      best_kb=$kb
    fi
  done
}

# Board name, the generator's options and the board's scale (for the
# list-scan cap).
if [[ $smoke -eq 1 ]]; then
  boards=("smoke:1:--components 100")
else
  boards=()
  for k in $scales; do boards+=("${k}x:$k:--scale $k"); done
fi

printf '%-6s %10s %10s %10s %9s %12s %9s %8s %9s %9s %8s %9s\n' \
  board "size MB" records "import s" "MB/s" "records/s" "peak MB" "peak/MB" "wc -w s" import/wc "scan s" scan/idx
failures=0
declare -A import_seconds=()
for entry in "${boards[@]}"; do
  name=${entry%%:*}
  rest=${entry#*:}
  scale=${rest%%:*}
  read -r -a gen_args <<<"${rest#*:}"
  file="$work_dir/board-$name.pcb"

  "$gen" --seed "$seed" "${gen_args[@]}" --summary -o "$file" 2>"$work_dir/gen.err" ||
    die "orvik-gen failed for board $name: $(cat "$work_dir/gen.err")"
  records=$(sed -n 's/^records \([0-9]*\) .*/\1/p' "$work_dir/gen.err")
  [[ -n "$records" ]] || die "orvik-gen printed no record count for board $name"
  bytes=$(stat -c %s "$file")
  # Both runs read the file from the page cache.
  cat "$file" >/dev/null

  measure "wc-$name" env LC_ALL=C wc -w "$file" || die "wc -w failed on $file"
  wc_ns=$best_ns

  rc=0
  measure "import-$name" "$host" import "$file" --no-progress "${host_flags[@]}" || rc=$?
  if [[ $rc -ne 0 ]]; then
    run_failed "orvik-host import" "import-$name" "$rc"
    continue
  fi
  import_ns=$best_ns
  import_kb=$best_kb
  import_seconds[$name]=$(awk -v ns="$import_ns" 'BEGIN { printf "%.6f", ns / 1e9 }')

  # The same file through the list-scan plug-in (capped: it is quadratic).
  scan_ns=""
  if [[ $list_scan_max -gt 0 && $scale -le $list_scan_max ]]; then
    rc=0
    measure "scan-$name" "$host" --plugin "$list_scan_plugin" import "$file" --no-progress "${host_flags[@]}" || rc=$?
    if [[ $rc -ne 0 ]]; then
      run_failed "list-scan import" "scan-$name" "$rc"
    else
      scan_ns=$best_ns
      # Both plug-ins must build the same board: the same summary and, on
      # the smoke board, the same board dump byte for byte.
      if ! diff <(grep -v '^Imported ' "$work_dir/import-$name.out") <(grep -v '^Imported ' "$work_dir/scan-$name.out") >/dev/null; then
        echo "run-benchmarks: the list-scan plug-in built another board from $name" >&2
        failures=$((failures + 1))
      fi
      if [[ $smoke -eq 1 ]]; then
        "$host" import "$file" --no-progress --json "$work_dir/index.json" >/dev/null &&
          "$host" --plugin "$list_scan_plugin" import "$file" --no-progress --json "$work_dir/scan.json" >/dev/null ||
          die "the board dumps of $name could not be written"
        if ! cmp -s "$work_dir/index.json" "$work_dir/scan.json"; then
          echo "run-benchmarks: the board dumps of both plug-ins differ on $name" >&2
          failures=$((failures + 1))
        fi
        rm -f "$work_dir/index.json" "$work_dir/scan.json"
      fi
    fi
  fi

  awk -v name="$name" -v bytes="$bytes" -v records="$records" -v ins="$import_ns" -v wns="$wc_ns" \
    -v kb="$import_kb" -v sns="$scan_ns" 'BEGIN {
      s = ins / 1e9; w = wns / 1e9
      if (s <= 0) s = 1e-9
      if (w <= 0) w = 1e-9
      mem = kb == "" ? "n/a" : sprintf("%.1f", kb / 1024)
      per = kb == "" ? "n/a" : sprintf("%.1f", kb * 1024 / bytes)
      scan = sns == "" ? "-" : sprintf("%.3f", sns / 1e9)
      gain = sns == "" ? "-" : sprintf("%.1f", sns / 1e9 / s)
      printf "%-6s %10.1f %10d %10.3f %9.1f %12.0f %9s %8s %9.3f %9.1f %8s %9s\n",
             name, bytes / 1e6, records, s, bytes / 1e6 / s, records / s, mem, per, w, s / w, scan, gain
    }'
done

if [[ $list_scan_max -gt 0 ]]; then
  echo "scan s: the same file through LoadOrvikListScan (list-scan lookups), boards up to ${list_scan_max}x only"
fi
# Linearity: the largest board's time per byte against the smallest's.
first="" last=""
for entry in "${boards[@]}"; do
  name=${entry%%:*}
  [[ -n "${import_seconds[$name]:-}" ]] || continue
  [[ -z "$first" ]] && first=$entry
  last=$entry
done
if [[ -n "$first" && "$first" != "$last" ]]; then
  f_name=${first%%:*} l_name=${last%%:*}
  f_rest=${first#*:} l_rest=${last#*:}
  awk -v a="${import_seconds[$f_name]}" -v b="${import_seconds[$l_name]}" -v ka="${f_rest%%:*}" -v kb="${l_rest%%:*}" \
    -v na="$f_name" -v nb="$l_name" 'BEGIN {
      printf "scaling: %s takes %.1f times the time of %s for %.0f times the data\n", nb, b / a, na, kb / ka
    }'
fi

# Peak memory per record kind: one board per kind with the 1x count of that
# kind only, against a board with no records at all.
if [[ $per_kind -eq 1 ]]; then
  none="--components 0 --pads 0 --nets 0 --tracks 0 --arcs 0 --vias 0 --texts 0 --fills 0 --polygons 0"
  kinds=("empty:" "COMP:--components 5000" "PAD:--pads 30000" "NET:--nets 5000" "LINE:--tracks 100000"
    "ARC:--arcs 50000" "VIA:--vias 30000" "TEXT:--texts 15000" "FILL:--fills 1000" "POLY:--polygons 500")
  printf '\n%-6s %10s %10s %10s %9s %12s %12s\n' kind records "size MB" "import s" "peak MB" "bytes/record" "peak/file"
  base_kb=""
  for entry in "${kinds[@]}"; do
    kind=${entry%%:*}
    read -r -a none_args <<<"$none"
    read -r -a kind_args <<<"${entry#*:}"
    file="$work_dir/board-kind-$kind.pcb"
    "$gen" --seed "$seed" "${none_args[@]}" "${kind_args[@]}" --summary -o "$file" 2>"$work_dir/gen.err" ||
      die "orvik-gen failed for kind $kind: $(cat "$work_dir/gen.err")"
    records=$(sed -n 's/^records \([0-9]*\) .*/\1/p' "$work_dir/gen.err")
    bytes=$(stat -c %s "$file")
    rc=0
    measure "kind-$kind" "$host" import "$file" --no-progress "${host_flags[@]}" || rc=$?
    if [[ $rc -ne 0 ]]; then
      failures=$((failures + 1))
      continue
    fi
    [[ -z "$base_kb" ]] && base_kb=$best_kb
    awk -v kind="$kind" -v records="$records" -v bytes="$bytes" -v ns="$best_ns" -v kb="$best_kb" -v base="$base_kb" \
      'BEGIN {
        per = records > 0 && kb != "" ? sprintf("%.0f", (kb - base) * 1024 / records) : "-"
        ratio = records > 0 && kb != "" ? sprintf("%.1f", (kb - base) * 1024 / bytes) : "-"
        mem = kb == "" ? "n/a" : sprintf("%.1f", kb / 1024)
        printf "%-6s %10d %10.2f %10.3f %9s %12s %12s\n", kind, records, bytes / 1e6, ns / 1e9, mem, per, ratio
      }'
  done
  echo "bytes/record and peak/file: peak memory above the empty board's, per record and per file byte"
fi

if [[ ${#host_flags[@]} -gt 0 ]]; then
  echo "orvik-host flags: ${host_flags[*]}"
fi
[[ $failures -eq 0 ]] || die "$failures import(s) failed"
