#!/usr/bin/env bash
# Benchmark of `orvik-host convert`: generates an archive of boards of mixed
# sizes with orvik-gen (most small, some medium, a few of 10 MB and more)
# under the build folder, converts it with --jobs 1, --jobs 2 (and the
# number of cores, when there are more), runs `xargs -P 2` over single
# `orvik-host import` runs of the same files doing the same work, converts
# again with nothing to do, and prints files/s and MB/s of each. Then the
# cost per file of a child process against an in-process import of the
# same small file. Removes the archive and the outputs at the end (KiCad
# boards are about 4.6 times their input). Not part of the test command.
set -euo pipefail

usage() {
  cat <<'EOF'
usage: bench/convert-benchmark.sh [options]

  --build-dir DIR    native Release build to use (default build/native-release)
  --no-build         use the build directory as it is
  --small N          small boards (default 190)
  --medium N         medium boards, 1000 to 2800 components (default 7)
  --large N          boards of 10 MB and more (default 3)
  --copies N         copies of one small board for the per-file cost (default 60)
  --keep             keep the archive and the outputs
  -h, --help         show this text
EOF
}
die() {
  echo "convert-benchmark: $*" >&2
  exit 1
}

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="$root/build/native-release"
build=1
small=190
medium=7
large=3
copies=60
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) [ $# -ge 2 ] || die "--build-dir needs a value"; build_dir=$2; shift ;;
    --no-build) build=0 ;;
    --small) small=$2; shift ;;
    --medium) medium=$2; shift ;;
    --large) large=$2; shift ;;
    --copies) copies=$2; shift ;;
    --keep) keep=1 ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
  shift
done
for n in "$small" "$medium" "$large" "$copies"; do
  [[ "$n" =~ ^[0-9]{1,5}$ ]] || die "a count is a whole number, not '$n'"
done

if [ "$build" -eq 1 ]; then
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake --preset native-release >/dev/null || die "configuring native-release failed"
  fi
  cmake --build "$build_dir" --target orvik-host Kovlan LoadOrvik orvik-gen >/dev/null || die "building failed"
fi
build_dir=$(cd "$build_dir" && pwd)
host="$build_dir/bin/orvik-host"
gen="$build_dir/bin/orvik-gen"
[ -x "$host" ] && [ -x "$gen" ] || die "no orvik-host or orvik-gen in $build_dir/bin"

work="$build_dir/convert-benchmark"
rm -rf "$work"
mkdir -p "$work"
cleanup() { [ "$keep" -eq 1 ] || rm -rf "$work"; }
trap cleanup EXIT

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# The archive: ten folders of small boards, one of medium, one of large.
archive="$work/archive"
for ((i = 0; i < small; i++)); do
  folder="$archive/projects-$((i % 10))"
  mkdir -p "$folder"
  "$gen" --seed "$((100 + i))" --components "$((20 + (i * 37) % 380))" -o "$folder/board-$i.pcb"
done
mkdir -p "$archive/medium" "$archive/large"
for ((i = 0; i < medium; i++)); do
  "$gen" --seed "$((500 + i))" --components "$((1000 + i * 300))" -o "$archive/medium/board-$i.pcb"
done
for ((i = 0; i < large; i++)); do
  "$gen" --seed "$((900 + i))" --components "$((5000 + i * 2500))" -o "$archive/large/board-$i.pcb"
done
files=$(find "$archive" -name '*.pcb' | wc -l)
bytes=$(find "$archive" -name '*.pcb' -printf '%s\n' | awk '{ s += $1 } END { print s }')
mb=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1e6 }')
largest=$(find "$archive/large" -name '*.pcb' -printf '%s\n' | sort -n | tail -n 1)
cores=$(nproc)
echo "archive: $files boards, $mb MB ($small small, $medium medium, $large of 10 MB and more, the largest $(awk -v b="$largest" 'BEGIN { printf "%.1f", b / 1e6 }') MB); $cores cores"
echo

printf '%-34s %8s %8s %8s %10s\n' run "wall s" files/s MB/s "vs jobs 1"
base=""
row() {
  local name=$1 wall=$2
  [ -n "$base" ] || base=$wall
  printf '%-34s %8s %8.0f %8.1f %10.2f\n' "$name" "$wall" "$(awk -v f="$files" -v w="$wall" 'BEGIN { print f / w }')" \
    "$(awk -v m="$mb" -v w="$wall" 'BEGIN { print m / w }')" "$(awk -v b="$base" -v w="$wall" 'BEGIN { print w / b }')"
}

convert_run() {
  local jobs=$1 out=$2
  rm -rf "$out"
  local t0
  t0=$(now)
  "$host" convert "$archive" --out "$out" --jobs "$jobs" --no-progress >/dev/null || [ $? -le 1 ] ||
    die "convert --jobs $jobs failed"
  seconds "$t0" "$(now)"
}

out="$work/out"
row "convert --jobs 1" "$(convert_run 1 "$out")"
row "convert --jobs 2" "$(convert_run 2 "$out")"
if [ "$cores" -gt 2 ]; then row "convert --jobs $cores" "$(convert_run "$cores" "$out")"; fi

# The same work by hand: one import per file in its folder, the outputs
# mirrored, two at a time.
xout="$work/xargs-out"
rm -rf "$xout"
t0=$(now)
(cd "$archive" && find . -name '*.pcb' -print0 |
  OUT="$xout" HOST="$host" xargs -0 -P 2 -n 1 sh -c '
    rel=${1#./}; stem=${rel%.pcb}; mkdir -p "$OUT/$(dirname "$rel")"
    cd "$(dirname "$rel")" && "$HOST" import --no-progress --if-recognised --top 0 \
      --summary-json "$OUT/$stem.summary.json" --kicad "$OUT/$stem.kicad_pcb" -- "$(basename "$rel")" >/dev/null' sh) ||
  die "xargs over orvik-host import failed"
row "xargs -P 2 orvik-host import" "$(seconds "$t0" "$(now)")"

t0=$(now)
"$host" convert "$archive" --out "$out" --jobs 2 --no-progress >/dev/null || [ $? -le 1 ] || die "re-run failed"
wall=$(seconds "$t0" "$(now)")
fresh=$(grep -o '"up-to-date": [0-9]*' "$out/report.json" | head -n 1 | grep -o '[0-9]*$')
[ "$fresh" = "$files" ] || die "the re-run found $fresh of $files files up to date"
row "convert --jobs 2, all up to date" "$wall"
rm -rf "$out" "$xout"

# The cost of a child: copies of one small board converted one at a time,
# against the in-process time of the same import (its summary's total:
# import and outputs, the modules already loaded).
copy_dir="$work/copies"
mkdir -p "$copy_dir"
"$gen" --seed 7 --components 40 -o "$copy_dir/board-0.pcb"
for ((i = 1; i < copies; i++)); do cp "$copy_dir/board-0.pcb" "$copy_dir/board-$i.pcb"; done
t0=$(now)
"$host" convert "$copy_dir" --out "$work/copies-out" --jobs 1 --no-progress >/dev/null || [ $? -le 1 ] ||
  die "convert of the copies failed"
wall=$(seconds "$t0" "$(now)")
inside=$(cat "$work"/copies-out/*.summary.json | awk -F': ' '/"total"/ { s += $2; n++ } END { printf "%.2f", 1000 * s / n }')
per_child=$(awk -v w="$wall" -v n="$copies" 'BEGIN { printf "%.2f", 1000 * w / n }')
echo
echo "per file, $(stat -c %s "$copy_dir/board-0.pcb") bytes, $copies copies, one at a time:"
echo "  child process (convert --jobs 1, wall time / files): $per_child ms"
echo "  in-process import and outputs (summary total):        $inside ms"
echo "  cost of the child:                                    $(awk -v a="$per_child" -v b="$inside" 'BEGIN { printf "%.2f", a - b }') ms"
