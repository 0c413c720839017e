#!/usr/bin/env bash
# Installs the Debian packages the builds need, as root, without questions.
#
#   tools/setup.sh native   compiler, CMake, Ninja, GoogleTest sources, CLI11,
#                           help2man (the man pages), dpkg-dev (dpkg-shlibdeps,
#                           for the Debian package's dependencies)
#   tools/setup.sh all      also Clang (with its sanitizer and libFuzzer
#                           runtimes), the 32-bit and 64-bit MinGW-w64 cross
#                           compilers, 64-bit Wine, Python 3, and Chromium
#                           with the browser test's npm packages; and, where
#                           the machine can run 32-bit programs
#                           (tools/probe-32bit), the i386 architecture and
#                           32-bit Wine; KiCad with gerbv for the KiCad
#                           export's tests
#
# Only missing packages are installed; when nothing is missing, nothing runs.
set -euo pipefail

mode=${1:-all}
export DEBIAN_FRONTEND=noninteractive

packages=(cmake ninja-build g++ make googletest libcli11-dev help2man dpkg-dev)
if [ "$mode" = all ]; then
  packages+=(clang libclang-rt-14-dev python3)
  packages+=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
  packages+=(wine wine64)
  # 32-bit Wine only where it can run; decided before any i386 package is
  # installed.
  probe=$("$(dirname "$0")/probe-32bit") && packages+=(wine32:i386)
  echo "setup: can this machine run 32-bit programs? $probe"
  # The browser test of the HTML board preview: headless Chromium, and npm
  # for its test packages (a Node.js that brings its own npm is kept).
  packages+=(chromium)
  command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
fi
# The KiCad export's proof: KiCad 6 (its pcbnew module for /usr/bin/python3;
# without the large recommended libraries) and gerbv to render its Gerbers.
kicad_packages=()
if [ "$mode" = all ]; then
  kicad_packages=(kicad gerbv)
fi

# npm packages of the browser test, from its lock file, when missing.
browser_test_packages() {
  [ "$mode" = all ] || return 0
  local dir
  dir="$(cd "$(dirname "$0")/.." && pwd)/tests/browser"
  [ -d "$dir/node_modules/playwright-core" ] && [ -d "$dir/node_modules/pngjs" ] && return 0
  echo "setup: installing the browser test's npm packages"
  (cd "$dir" && npm ci --no-audit --no-fund)
}

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
missing_kicad=()
for p in "${kicad_packages[@]}"; do
  installed "$p" || missing_kicad+=("$p")
done
if [ ${#missing[@]} -eq 0 ] && [ ${#missing_kicad[@]} -eq 0 ]; then
  echo "setup: all packages present"
  browser_test_packages
  exit 0
fi

echo "setup: installing ${missing[*]}"
apt_options=(-y -q -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold -o DPkg::Lock::Timeout=600)
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -q </dev/null
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get install "${apt_options[@]}" "${missing[@]}" </dev/null
fi
if [ ${#missing_kicad[@]} -gt 0 ]; then
  echo "setup: installing ${missing_kicad[*]} (without recommended packages)"
  "${sudo_cmd[@]}" apt-get install "${apt_options[@]}" --no-install-recommends "${missing_kicad[@]}" </dev/null
fi
browser_test_packages
