#!/usr/bin/env bash
# contract.sh win64|win32 [VERSION [GTEST-OPTIONS...]]
#
# Runs the Windows build of the contract tests under Wine in a fresh clone of the ARCH template,
# with the prefix reporting VERSION (a Wine name: winxp, win8, ...; "win7" or "" for the default
# Windows 7 workstation). The tests learn what to expect from the environment:
#   VEXILLA_EXPECT_VERSION  e.g. 5.1.2600      VEXILLA_EXPECT_BITS  32 or 64
#   VEXILLA_TOOLS_DIR       C:\vxtools (exitwith.exe, dbgcapture.exe)
# Exit status: the test program's (non-zero when any test fails). The prefix of a failed run is
# kept for inspection; its path is printed.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine/env.sh"

arch=${1:-}
version=${2-}
shift $(($# < 2 ? $# : 2))
case "$arch" in
  win64) bits=64 ;;
  win32) bits=32 ;;
  *) echo "usage: $0 win64|win32 [VERSION [GTEST-OPTIONS...]]" >&2; exit 2 ;;
esac
expect=$(vx_expected_version "$version") || exit 2
exe=${VX_CONTRACT_EXE:-$VX_BUILD_DIR/tests/vexilla_contract_tests.exe}
[ -f "$exe" ] || { echo "contract: no test program at $exe (build the cross target vexilla_contract_tests)" >&2; exit 1; }

prefix=$(vx_new_prefix "$arch" "contract-$arch-${version:-win7}") || exit 1
vx_set_version "$prefix" "$version" || exit 1
mkdir -p "$prefix/drive_c/vxtests" && cp "$exe" "$prefix/drive_c/vxtests/vexilla_contract_tests.exe" || exit 1

echo "== contract tests under Wine: $arch prefix, Windows $expect ($prefix)"
# The program's console output is text mode: strip the CR of each line.
VEXILLA_EXPECT_VERSION=$expect VEXILLA_EXPECT_BITS=$bits VEXILLA_TOOLS_DIR=$VX_TOOLS_WINDIR \
  vx_wine "$prefix" 'C:\vxtests\vexilla_contract_tests.exe' "$@" 2>&1 | sed 's/\r$//'
rc=${PIPESTATUS[0]}
vx_server_kill "$prefix"
vx_template_check "$arch" || { echo "== the tests damaged the $arch template (see above)"; rc=1; }
if [ "$rc" -eq 0 ]; then
  rm -rf "$prefix"
else
  echo "== contract tests FAILED ($arch, Windows $expect): exit $rc; prefix kept in $prefix"
fi
exit "$rc"
