#!/usr/bin/env bash
# End-to-end import benchmark: generates boards of 1x, 4x and 16x the base
# size (5000 components, about 10 MB), imports each through orvik-host and
# prints size, records, wall time, throughput and peak resident memory, next
# to the time `LC_ALL=C wc -w` takes on the same file: the floor of reading
# the text and splitting it into words.
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

# Host options from the environment, split on blanks.
read -r -a host_flags <<<"${ORVIK_HOST_FLAGS:-}"

if [[ $build -eq 1 ]]; then
  if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
    echo "Configuring a native Release build in $build_dir" >&2
    cmake --preset native-release -B "$build_dir" -S "$root" >/dev/null
  fi
  echo "Building orvik-gen and orvik-host in $build_dir" >&2
  cmake --build "$build_dir" --target orvik-gen orvik-host >/dev/null
fi

gen="$build_dir/bin/orvik-gen"
host="$build_dir/bin/orvik-host"
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

if [[ $smoke -eq 1 ]]; then
  boards=("smoke:--components 100")
else
  boards=()
  for k in $scales; do boards+=("${k}x:--scale $k"); done
fi

printf '%-6s %10s %10s %10s %9s %12s %9s %9s %9s\n' \
  board "size MB" records "import s" "MB/s" "records/s" "peak MB" "wc -w s" import/wc
failures=0
for entry in "${boards[@]}"; do
  name=${entry%%:*}
  read -r -a gen_args <<<"${entry#*:}"
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
    echo "run-benchmarks: orvik-host import failed on board $name (exit $rc):" >&2
    sed 's/^/  /' "$work_dir/import-$name.err" >&2
    failures=$((failures + 1))
    continue
  fi
  import_ns=$best_ns
  import_kb=$best_kb

  awk -v name="$name" -v bytes="$bytes" -v records="$records" -v ins="$import_ns" -v wns="$wc_ns" \
    -v kb="$import_kb" 'BEGIN {
      s = ins / 1e9; w = wns / 1e9
      if (s <= 0) s = 1e-9
      if (w <= 0) w = 1e-9
      mem = kb == "" ? "n/a" : sprintf("%.1f", kb / 1024)
      printf "%-6s %10.1f %10d %10.3f %9.1f %12.0f %9s %9.3f %9.1f\n",
             name, bytes / 1e6, records, s, bytes / 1e6 / s, records / s, mem, w, s / w
    }'
done

if [[ ${#host_flags[@]} -gt 0 ]]; then
  echo "orvik-host flags: ${host_flags[*]}"
fi
[[ $failures -eq 0 ]] || die "$failures import(s) failed"
