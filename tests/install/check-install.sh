#!/usr/bin/env bash
# Checks what a native build installs as a user meets it: each installed
# tree runs in a clean environment (no LD_LIBRARY_PATH, a plain PATH), from
# a directory of its own, with nothing of the build tree on any path.
#
#   check-install.sh prefix   SOURCE_DIR BUILD_DIR WORK_DIR VERSION
#       cmake --install into WORK_DIR/prefix; runs it, also through a link
#       from elsewhere, and a lone copy of the program must name the
#       directories it looked in
#   check-install.sh packages SOURCE_DIR BUILD_DIR WORK_DIR VERSION
#       cpack writes the .deb and the tarball into WORK_DIR; checks the
#       .deb's control fields, files, modes, stripped binaries and that it
#       has no maintainer scripts, runs the trees dpkg-deb -x and tar
#       extract, compares the two trees, and has lintian (where it is
#       installed) report no error
#
# Exits 0 when every check holds; otherwise prints what failed, exits 1.
set -euo pipefail

[ $# -eq 5 ] || { sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
mode=$1 source_dir=$2 build_dir=$3 work=$4 version=$5
package=orvik-host
docdir=share/doc/$package

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

rm -rf "$work"
mkdir -p "$work/run"
work=$(cd "$work" && pwd)

# Runs a command as a user's shell would, in $work/run: a clean environment.
user_run() { (cd "$work/run" && env -i PATH=/usr/bin:/bin HOME="$work/run" LC_ALL=C.UTF-8 "$@"); }

# expect_run NAME EXIT STDOUT-REGEX COMMAND...: the exit code and stdout.
expect_run() {
  local name=$1 exit_code=$2 pattern=$3 out status=0
  shift 3
  out=$(user_run "$@" 2>"$work/stderr") || status=$?
  [ "$status" -eq "$exit_code" ] || fail "$name: exit $status, expected $exit_code: $(head -c 400 "$work/stderr")"
  grep -Eq -- "$pattern" <<<"$out" || fail "$name: output does not match '$pattern': $(head -c 400 <<<"$out")"
}

# The programs of an installed tree (bin/, lib/orvik/, share/) do what the
# build tree's do: the example's board dump and KiCad board equal the golden
# files, byte for byte.
check_tree() {
  local root=$1 label=$2 host="$1/bin/orvik-host"
  expect_run "$label: --version" 0 "^orvik-host ${version//./\\.}\$" "$host" --version
  expect_run "$label: describe" 0 '^Orvik Ascii files \(\*\.PCB\)$' "$host" describe
  cp "$root/$docdir/examples/demo-board.pcb" "$work/run/board.pcb"
  rm -f "$work/run/board.json" "$work/run/board.kicad_pcb"
  expect_run "$label: import" 0 'KiCad board board\.kicad_pcb' \
    "$host" import board.pcb --json board.json --kicad board.kicad_pcb --no-progress
  cmp -s "$work/run/board.json" "$source_dir/tests/dumps/demo-board.json" ||
    fail "$label: the board dump differs from tests/dumps/demo-board.json"
  cmp -s "$work/run/board.kicad_pcb" "$source_dir/tests/kicad/golden/demo-board.kicad_pcb" ||
    fail "$label: the KiCad board differs from tests/kicad/golden/demo-board.kicad_pcb"
  expect_run "$label: check" 1 '^board\.pcb: 3 warnings \(skipped-line 3\)$' "$host" check board.pcb
  expect_run "$label: orvik-gen" 0 "^orvik-gen ${version//./\\.}\$" "$root/bin/orvik-gen" --version
  # The man pages render without a warning.
  if command -v man >/dev/null; then
    local page
    for page in orvik-host orvik-gen; do
      user_run env MANWIDTH=80 man --warnings -P cat -l "$root/share/man/man1/$page.1.gz" >"$work/man.txt" \
        2>"$work/man.err" || fail "$label: man -l $page.1.gz failed"
      [ ! -s "$work/man.err" ] || fail "$label: man -l $page.1.gz warns: $(head -c 400 "$work/man.err")"
      grep -q "^       $page - " "$work/man.txt" || fail "$label: $page's man page has no NAME line"
      grep -q "^SYNOPSIS" "$work/man.txt" || fail "$label: $page's man page has no SYNOPSIS"
    done
  fi
  # Nothing points back into the build tree.
  local file
  for file in "$root"/bin/* "$root"/lib/orvik/*; do
    if readelf -d "$file" | grep -Eq 'RPATH|RUNPATH'; then fail "$label: ${file#"$root"/} has a run path"; fi
  done
}

check_prefix() {
  local prefix=$work/prefix
  cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log" >&2; exit 1; }
  check_tree "$prefix" "installed prefix"
  # Through a link, the program still finds its modules from where it lies.
  mkdir -p "$work/links"
  ln -s "$prefix/bin/orvik-host" "$work/links/orvik-host"
  expect_run "linked program" 0 '^Orvik Ascii files' "$work/links/orvik-host" describe
  # A copy without its modules fails with the load failure code, naming both
  # places it looked in.
  mkdir -p "$work/lone/bin"
  cp "$prefix/bin/orvik-host" "$work/lone/bin/"
  expect_run "lone program" 3 '^$' "$work/lone/bin/orvik-host" describe
  grep -qF "cannot find the host PCB module libKovlan.so in $work/lone/bin or $work/lone/lib/orvik" \
    "$work/stderr" || fail "lone program: unexpected error: $(cat "$work/stderr")"
}

check_packages() {
  cpack --config "$build_dir/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
  local arch deb tarball
  arch=$(dpkg --print-architecture)
  deb=$work/cpack/${package}_${version}_$arch.deb
  tarball=$work/cpack/$package-$version-linux-$(uname -m).tar.gz
  [ -f "$deb" ] && [ -f "$tarball" ] || { ls -l "$work/cpack" >&2; fail "cpack wrote no $deb or $tarball"; exit 1; }

  # Control fields.
  local field expected
  for field in "Package:$package" "Version:$version" "Architecture:$arch" "Section:electronics"; do
    expected=${field#*:}
    [ "$(dpkg-deb --field "$deb" "${field%%:*}")" = "$expected" ] || fail ".deb: ${field%%:*} is not $expected"
  done
  local depends
  depends=$(dpkg-deb --field "$deb" Depends)
  for expected in libc6 libgcc-s1 libstdc++6; do
    sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends" | grep -qxF "$expected" || fail ".deb: Depends '$depends' lacks $expected"
  done
  # No maintainer script: apt-get remove leaves nothing behind.
  local script
  for script in preinst postinst prerm postrm; do
    if dpkg-deb --info "$deb" "$script" >/dev/null 2>&1; then fail ".deb: has a $script script"; fi
  done
  dpkg-deb --info "$deb" >"$work/info.txt"
  [ "$(sed -n '/^ Description:/,/^ [A-Z][-A-Za-z]*:/p' "$work/info.txt" | grep -c '^  ')" -ge 5 ] ||
    fail ".deb: no extended description"

  # Files: each expected one, with its mode and owner; every directory
  # 0755, every other file 0644 but the programs.
  dpkg-deb --contents "$deb" >"$work/contents.txt"
  for expected in bin/orvik-host bin/orvik-gen lib/orvik/libKovlan.so lib/orvik/libLoadOrvik.so \
    share/man/man1/orvik-host.1.gz share/man/man1/orvik-gen.1.gz "$docdir/copyright" "$docdir/changelog.gz" \
    "$docdir/README.md" "$docdir/examples/demo-board.pcb"; do
    grep -Eq " \./usr/$expected\$" "$work/contents.txt" || fail ".deb lacks /usr/$expected"
  done
  local mode owner path
  while read -r mode owner _ _ _ path; do
    case "$mode:$path" in
      d*) expected=drwxr-xr-x ;;
      *:./usr/bin/*) expected=-rwxr-xr-x ;;
      *) expected=-rw-r--r-- ;;
    esac
    [ "$mode" = "$expected" ] || fail ".deb: $path is $mode, expected $expected"
    [ "$owner" = root/root ] || fail ".deb: $path belongs to $owner"
  done <"$work/contents.txt"

  dpkg-deb -x "$deb" "$work/deb"
  local file
  for file in "$work"/deb/usr/bin/* "$work"/deb/usr/lib/orvik/*; do
    if readelf -S --wide "$file" | grep -Eq '\.symtab|\.debug_'; then fail ".deb: ${file#"$work"/deb} is not stripped"; fi
  done
  [ "$(zcat "$work/deb/usr/$docdir/changelog.gz" | head -n 1)" = "$package ($version) unstable; urgency=medium" ] ||
    fail ".deb: the changelog does not start with this version's entry"
  grep -q '^License: Expat$' "$work/deb/usr/$docdir/copyright" &&
    grep -q '^ Permission is hereby granted, free of charge' "$work/deb/usr/$docdir/copyright" ||
    fail ".deb: the copyright file lacks the licence"
  if grep -rlF "$build_dir" "$work/deb" >"$work/references"; then
    fail ".deb: files name the build directory: $(tr '\n' ' ' <"$work/references")"
  fi
  check_tree "$work/deb/usr" "extracted .deb"

  # The tarball holds the same tree under one top directory.
  mkdir -p "$work/tgz"
  tar -xzf "$tarball" -C "$work/tgz"
  local top=$work/tgz/$package-$version-linux-$(uname -m)
  [ -d "$top" ] || fail "the tarball has no top directory $(basename "$top")"
  diff <(cd "$work/deb/usr" && find . | sort) <(cd "$top" && find . | sort) >"$work/trees.diff" ||
    fail "the tarball's tree differs from the .deb's: $(head -c 400 "$work/trees.diff")"
  check_tree "$top" "extracted tarball"

  if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || fail "lintian: $(grep -v '^W:' "$work/lintian.txt")"
  fi
}

case "$mode" in
  prefix) check_prefix ;;
  packages) check_packages ;;
  *) echo "check-install: unknown mode '$mode'" >&2; exit 2 ;;
esac
if [ "$failures" -ne 0 ]; then
  echo "check-install $mode: $failures checks failed" >&2
  exit 1
fi
