#!/usr/bin/env bash
# Compares what the importer does at a given revision with what the working
# tree does: builds both (Release, no tests), imports the same boards with
# each through orvik-host, and compares the board dumps byte for byte and the
# full host-call journals by SHA-256 (the journal of a large board is
# streamed through a pipe, never stored).
#
#   tools/compare-behaviour.sh [--scales "K ..."] [--work-dir DIR] REV
#
# The boards: examples/demo-board.pcb and the generated boards of the given
# scales (default "1"), made once with the working tree's orvik-gen so that
# both sides read the same bytes. Exits 0 when everything is identical, 1 on
# a difference, 2 on a usage or build error.
set -euo pipefail

usage() { sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; }
die() {
  echo "compare-behaviour: $*" >&2
  exit 2
}

scales="1"
work_dir=""
rev=""
while [ $# -gt 0 ]; do
  case "$1" in
    --scales) [ $# -ge 2 ] || die "--scales needs a value"; scales="$2"; shift ;;
    --work-dir) [ $# -ge 2 ] || die "--work-dir needs a value"; work_dir="$2"; shift ;;
    -h | --help) usage; exit 0 ;;
    -*) die "unknown option $1" ;;
    *) [ -z "$rev" ] || die "takes one revision"; rev="$1" ;;
  esac
  shift
done
[ -n "$rev" ] || { usage >&2; exit 2; }

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sha=$(git rev-parse --verify --quiet "$rev^{commit}") || die "unknown revision $rev"
work_dir=${work_dir:-$root/build/compare}
mkdir -p "$work_dir"
work_dir=$(cd "$work_dir" && pwd)

# Both trees build the same way: Release, without tests, benchmarks or fuzz
# targets, only what an import needs (and, in the working tree, orvik-gen).
build_tree() {
  local source=$1 build=$2
  shift 2
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVIK_BUILD_TESTS=OFF \
    >"$build.configure.log" 2>&1 || { tail -n 20 "$build.configure.log" >&2; die "configuring $source failed"; }
  cmake --build "$build" --target orvik-host Kovlan LoadOrvik "$@" >"$build.build.log" 2>&1 ||
    { grep -E 'error' -A3 "$build.build.log" | head -n 40 >&2; die "building $source failed"; }
}

old_source="$work_dir/source-${sha:0:12}"
if [ ! -d "$old_source" ]; then
  git worktree prune  # a checkout whose folder was deleted would block the name
  git worktree add --detach "$old_source" "$sha" >/dev/null 2>&1 || die "cannot check out $rev"
fi
echo "building ${sha:0:12} and the working tree (Release)"
build_tree "$old_source" "$work_dir/build-${sha:0:12}"
build_tree "$root" "$work_dir/build-current" orvik-gen
old_host="$work_dir/build-${sha:0:12}/bin/orvik-host"
new_host="$work_dir/build-current/bin/orvik-host"

boards=("$root/examples/demo-board.pcb")
for k in $scales; do
  [[ "$k" =~ ^[1-9][0-9]{0,2}$ ]] || die "a scale is a whole number from 1, not '$k'"
  file="$work_dir/board-${k}x.pcb"
  [ -f "$file" ] || "$work_dir/build-current/bin/orvik-gen" --seed 1 --scale "$k" -o "$file" ||
    die "orvik-gen failed for scale $k"
  boards+=("$file")
done

# Imports `board` with `host`; prints the journal's SHA-256 and leaves the dump
# in `dump`.
import_board() {
  local host=$1 board=$2 dump=$3
  local fifo
  fifo=$(mktemp -u "$work_dir/journal.XXXXXX")
  mkfifo "$fifo"
  sha256sum <"$fifo" >"$fifo.sha" &
  local hasher=$!
  if ! "$host" import "$board" --no-progress --json "$dump" --journal "$fifo" >/dev/null; then
    # Unblock the hasher if the host never opened the pipe.
    : >"$fifo" || true
    wait "$hasher" || true
    rm -f "$fifo" "$fifo.sha"
    die "$host failed to import $board"
  fi
  # Unblock the hasher if the host never opened the pipe (a journal of
  # nothing).
  : >"$fifo" &
  local opener=$!
  wait "$hasher"
  kill "$opener" 2>/dev/null || true
  wait "$opener" 2>/dev/null || true
  cut -d' ' -f1 "$fifo.sha"
  rm -f "$fifo" "$fifo.sha"
}

different=0
printf '%-28s %-10s %-10s %s\n' board dump journal "journal SHA-256 (both sides)"
for board in "${boards[@]}"; do
  name=$(basename "$board")
  old_journal=$(import_board "$old_host" "$board" "$work_dir/old.json")
  new_journal=$(import_board "$new_host" "$board" "$work_dir/new.json")
  dump=identical
  cmp -s "$work_dir/old.json" "$work_dir/new.json" || { dump=DIFFERENT; different=1; }
  journal=identical
  [ "$old_journal" = "$new_journal" ] || { journal=DIFFERENT; different=1; }
  hash=$old_journal
  [ "$journal" = identical ] || hash="$old_journal / $new_journal"
  printf '%-28s %-10s %-10s %s\n' "$name" "$dump" "$journal" "$hash"
  rm -f "$work_dir/old.json" "$work_dir/new.json"
done

if [ "$different" -ne 0 ]; then
  echo "compare-behaviour: the working tree behaves differently from ${sha:0:12}"
  exit 1
fi
echo "compare-behaviour: dumps and journals identical to ${sha:0:12}"
