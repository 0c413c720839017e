#!/usr/bin/env bash
# Writes the packages into dist/, installing what is missing first:
#
#   native   orvik-host_<version>_<arch>.deb, the Debian package, and
#            orvik-host-<version>-linux-<processor>.tar.gz, the same installed
#            tree (cpack, from build/native)
#   win32    LoadOrvik-<version>-win32.zip, for 32-bit hosts
#   win64    LoadOrvik-<version>-win64.zip, for 64-bit hosts
#
# Each zip holds the plug-in DLL, the stand-in Kovlan.dll, orvik-host.exe,
# README.txt on how a host loads the importer, and LICENSE.txt.
#
#   tools/package.sh [native|win32|win64 ...]     (default: all three)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(native win32 win64)

setup=native
for preset in "${presets[@]}"; do
  case "$preset" in
    native) ;;
    win32 | win64) setup=all ;;
    *) echo "package: no package for preset '$preset' (native, win32 or win64)" >&2; exit 2 ;;
  esac
done
tools/setup.sh "$setup"

mkdir -p dist
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  if [ "$preset" = native ]; then
    # Only what an install takes, then cpack into a directory of its own.
    cmake --build --preset native --target package-files
    rm -rf build/native/packages
    cpack --config build/native/CPackConfig.cmake -B build/native/packages
    cp build/native/packages/*.deb build/native/packages/*.tar.gz dist/
  else
    cmake --build --preset "$preset" --target dist
  fi
done
ls -l dist/
