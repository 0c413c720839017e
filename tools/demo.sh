#!/usr/bin/env bash
# Builds the plug-in, the stand-in host module and the reference host, then
# imports the example board through the real plug-in and shows the result:
# the import summary, the board dump, the preview page and the KiCad board.
#
#   tools/demo.sh [FILE]      (default: examples/demo-board.pcb)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
board=${1:-examples/demo-board.pcb}

tools/setup.sh native
build=build/demo
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVIK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target orvik-host LoadOrvik Kovlan

echo
echo "== orvik-host describe"
"$build/bin/orvik-host" describe
echo
echo "== orvik-host recognise $board"
"$build/bin/orvik-host" recognise "$board"
echo
echo "== orvik-host import $board"
"$build/bin/orvik-host" import "$board" --json "$build/demo-board.json" --html "$build/demo-board.html" \
  --kicad "$build/demo-board.kicad_pcb"
echo
echo "Board dump:    $root/$build/demo-board.json"
echo "Preview page:  $root/$build/demo-board.html"
echo "KiCad board:   $root/$build/demo-board.kicad_pcb   (open it in KiCad 6 or later: pcbnew)"
