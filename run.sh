#!/usr/bin/env bash
# ./run.sh [--version NAME] [ARGS...]
#
# Builds vexilla.exe (cross build in build/win32) when needed, installs it with the example kit
# into a fresh 64-bit Wine prefix and runs it there (by default with /autobrand) as a debuggee.
# Shows the diagnostic lines it sent, then what it changed in the registry and under C:\.
#   --version NAME   the Windows the prefix reports (winxp, win7, win8, vista, ...; default win7)
#   VX_BUILD_ROOT    where the builds live (default: build)
set -u
cd "$(dirname "${BASH_SOURCE[0]}")" || exit 1

version=
if [ "${1-}" = --version ]; then
  version=${2:?--version needs a name}
  shift 2
fi
[ $# -gt 0 ] || set -- /autobrand

export VX_BUILD_DIR=${VX_BUILD_ROOT:-build}/win32
if [ ! -f "$VX_BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$VX_BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake || exit 1
fi
cmake --build "$VX_BUILD_DIR" --target vexilla dbgcapture exitwith -j "$(nproc)" || exit 1
VX_BUILD_DIR=$(cd "$VX_BUILD_DIR" && pwd)

source tools/wine/env.sh

prefix=$(vx_new_prefix win64 run) || exit 1
vx_set_version "$prefix" "$version" || exit 1
out=$VX_WINE_RUN_DIR/run.out
rm -rf "$out" && mkdir -p "$out" || exit 1

app_dir=$prefix/drive_c/vexilla
mkdir -p "$app_dir" && cp "$VX_BUILD_DIR/vexilla.exe" "$app_dir/" || exit 1
if [ -d examples/branding ]; then
  cp -a examples/branding/. "$app_dir/" || exit 1
fi

# One "[key] value" record per value and per key of a saved hive, timestamps left out, so that
# two snapshots compare line by line. NetworkCards is saved by wineboot but volatile afterwards:
# it would show as removed by every run.
reg_records() {
  awk '/^\[/ { key = $0; sub(/\] [0-9]+$/, "]", key); skip = key ~ /NetworkCards\]$/
               if (!skip) print key; next }
       skip || /^(#|;;|WINE REGISTRY|$)/ { next }
       { print key " " $0 }' "$1" | LC_ALL=C sort
}

snapshot() {
  vx_server_wait "$prefix" || return 1
  reg_records "$prefix/system.reg" >"$out/$1.system"
  reg_records "$prefix/user.reg" >"$out/$1.user"
  (cd "$prefix/drive_c" && find . -printf '%P\n' | LC_ALL=C sort) >"$out/$1.files"
}

show_lines() {
  local lines=$out/debug-lines.txt
  echo
  echo "== diagnostic lines: $(wc -l <"$lines") (raw bytes in $lines; a TAB shows as →)"
  # The lines are ANSI (code page 1252 in a default prefix); the terminal wants UTF-8.
  iconv -c -f CP1252 -t UTF-8 "$lines" >"$lines.utf8"
  vx_show_lines "$lines.utf8"
}

show_registry() {
  local hive
  for hive in system user; do
    echo
    echo "== registry changes in $hive.reg (+ added or new value, - removed or old value)"
    LC_ALL=C comm -23 "$out/before.$hive" "$out/after.$hive" | sed 's/^/- /'
    LC_ALL=C comm -13 "$out/before.$hive" "$out/after.$hive" | sed 's/^/+ /'
  done
}

# Files are compared by change time, which no copy can carry over from its source.
show_files() {
  echo
  echo "== files written under C:\\ (in $prefix/drive_c)"
  (cd "$prefix/drive_c" && find . ! -type d -cnewer "$out/started" -printf '%P  (%s bytes)\n' | LC_ALL=C sort)
  echo "== files removed"
  LC_ALL=C comm -23 "$out/before.files" "$out/after.files"
}

snapshot before || exit 1
touch "$out/started"
echo "== vexilla.exe $* (prefix $prefix, Windows $(vx_expected_version "$version"))"
vx_capture "$prefix" "$out/debug-lines.txt" 'C:\vexilla\vexilla.exe' "$@"
rc=$?
echo "== exit code: $rc"
snapshot after || exit 1
show_lines
show_registry
show_files
exit "$rc"
