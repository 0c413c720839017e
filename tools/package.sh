#!/usr/bin/env bash
# Builds the Windows packages: dist/LoadOrvik-win32.zip (for 32-bit hosts)
# and dist/LoadOrvik-win64.zip (for 64-bit hosts), each with the plug-in
# DLL, the stand-in Kovlan.dll, orvik-host.exe and README.txt on how a host
# loads the importer. Installs what is missing first.
#
#   tools/package.sh [win32|win64 ...]     (default: both)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(win32 win64)

tools/setup.sh all
for preset in "${presets[@]}"; do
  case "$preset" in
    win32 | win64) ;;
    *) echo "package: no package for preset '$preset' (win32 or win64)" >&2; exit 2 ;;
  esac
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target dist
done
ls -l dist/
