#!/usr/bin/env bash
# tools/bench/delete-key.sh [deletekey-bench arguments]     (a benchmark, not a test)
#
# The cost of the program's key deletion (fDeleteKey, with its per-key permission reset and the
# DACL snapshot it keeps for a failed removal) per key, under Wine, on trees of N subkeys below
# HKCR\CLSID\{bench class}. Without arguments, three series:
#   64-bit prefix (64-bit view): N = 10, 100, 1000, fan-out 10 (1 to 3 levels), median of 5
#   64-bit prefix: N = 1000, 3000, 10000, all directly below the class key, median of 3
#   32-bit prefix: N = 10, 100, 1000, fan-out 10, median of 5
# With arguments, they go to deletekey-bench.exe in both prefixes (e.g. --repeat 3 --fanout 4 500).
# A walk that visits each key a fixed number of times keeps the per-key figures flat as N grows;
# the flat series shows any cost that grows with the number of keys already visited. About 2
# minutes.
#   VX_BUILD_DIR   the cross build with tools/deletekey-bench.exe (default build/win32)
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../wine/env.sh
source "$here/../wine/env.sh"
export VX_WINE_TIMEOUT=600

bench=$VX_BUILD_DIR/tools/deletekey-bench.exe
[ -f "$bench" ] || { echo "no $bench (build the cross target deletekey-bench)" >&2; exit 1; }

echo "# $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(wine --version)"
status=0
# series ARGS...: one run of the bench program in the current prefix.
series() {
  vx_wine "$prefix" 'C:\vxtools\deletekey-bench.exe' "$@" | tr -d '\r'
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
}
prefix=
trap '[ -z "$prefix" ] || { vx_server_kill "$prefix"; rm -rf "$prefix"; }' EXIT
for arch in win64 win32; do
  prefix=$(vx_new_prefix "$arch" "bench-delete-key-$arch") || exit 1
  cp "$bench" "$prefix/drive_c/vxtools/" || exit 1
  WINEPREFIX=$prefix wineserver -p30
  echo "## $arch prefix"
  if [ $# -gt 0 ]; then
    series "$@"
  else
    series --repeat 5 10 100 1000
    [ "$arch" = win32 ] || series --repeat 3 --fanout 100000 1000 3000 10000
  fi
  vx_server_kill "$prefix"
  rm -rf "$prefix"
  prefix=
done
exit "$status"
