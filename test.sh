#!/usr/bin/env bash
# ./test.sh: every test tier, from a fresh clone on Debian 12.
#   1. installs what is missing (as root; otherwise says what to install and stops)
#   2. native build with sanitizers: unit and contract tests on the simulated Windows (ctest)
#   3. i686 cross build and its ctest (import table check and the like)
#   4. under Wine: the contract tests in a 64-bit prefix reporting XP, 7 and 8 and in a 32-bit
#      prefix, then every tests/e2e/*.sh and tests/gui/*.sh (each fails with a non-zero status)
# Ends with "N passed, N failed" and a non-zero status when anything failed.
#   VX_BUILD_ROOT  where the builds go (default: build, i.e. build/native and build/win32)
set -u
cd "$(dirname "${BASH_SOURCE[0]}")" || exit 1

build_root=${VX_BUILD_ROOT:-build}
mkdir -p "$build_root" && build_root=$(cd "$build_root" && pwd) || exit 1
native=$build_root/native
cross=$build_root/win32
jobs=$(nproc)
# Any one e2e or gui script; the Wine calls inside have their own, shorter limits.
script_timeout=1800
started=$SECONDS

passed=0
failed=0
results=()

banner() { printf '\n========== %s ==========\n' "$*"; }

# record NAME STATUS SECONDS [NOTE]
record() {
  local verdict=PASS
  if [ "$2" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)) verdict=FAIL; fi
  results+=("$(printf '%-4s  %-42s %5ss  %s' "$verdict" "$1" "$3" "${4-}")")
}

# suite NAME COMMAND...: runs one counted suite with its output shown as it comes.
suite() {
  local name=$1 t0=$SECONDS rc=0
  shift
  banner "$name"
  "$@" || rc=$?
  record "$name" "$rc" $((SECONDS - t0)) "$([ "$rc" -eq 0 ] || echo "exit $rc")"
  return "$rc"
}

finish() {
  banner "summary ($((SECONDS - started)) s)"
  printf '%s\n' "${results[@]}"
  printf '%d passed, %d failed\n' "$passed" "$failed"
  [ "$failed" -eq 0 ]
  exit
}

# ---- 1. what the machine needs ------------------------------------------------------------
packages=(wine wine32:i386 wine64 g++-mingw-w64-i686 xvfb xauth imagemagick cmake g++ googletest)
install_missing() {
  local missing=() need_i386=0 p
  command -v dpkg >/dev/null || { echo "not a Debian system: install ${packages[*]} by hand" >&2; return 1; }
  dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1
  for p in "${packages[@]}" make; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ "${#missing[@]}" -gt 0 ] || { echo "all packages present"; return 0; }
  echo "missing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "run as root (or install these first):"
    [ "$need_i386" -eq 0 ] || echo "  dpkg --add-architecture i386"
    echo "  apt-get update"
    echo "  DEBIAN_FRONTEND=noninteractive apt-get install -y ${packages[*]} make"
    return 1
  fi
  { [ "$need_i386" -eq 0 ] || dpkg --add-architecture i386; } &&
    apt-get update &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${packages[@]}" make
}
banner "prerequisites"
install_missing || { record "prerequisites" 1 $((SECONDS - started)) "packages missing"; finish; }

# ---- Wine templates, made while the code compiles -----------------------------------------
export VX_BUILD_DIR=$cross
export VX_WINE_RUN_DIR=$cross/wine
# One template per run: last run's prefixes (and whatever a failed test left in them) go.
rm -rf "$VX_WINE_RUN_DIR"
mkdir -p "$VX_WINE_RUN_DIR"
templates_log=$VX_WINE_RUN_DIR/templates.log
(source tools/wine/env.sh && vx_template win64 >/dev/null && vx_template win32 >/dev/null) \
  >"$templates_log" 2>&1 &
templates_pid=$!

# ---- 2. native ----------------------------------------------------------------------------
native_tier() {
  cmake -S . -B "$native" -DVEXILLA_SANITIZE=ON &&
    cmake --build "$native" -j "$jobs" &&
    ctest --test-dir "$native" --output-on-failure --no-tests=error -j "$jobs"
}
suite "native: unit + contract (simulated Windows)" native_tier

# ---- 3. cross -----------------------------------------------------------------------------
cross_tier() {
  cmake -S . -B "$cross" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake &&
    cmake --build "$cross" -j "$jobs" &&
    ctest --test-dir "$cross" --output-on-failure --no-tests=error -j "$jobs"
}
cross_ok=0
suite "cross: i686 build + checks" cross_tier || cross_ok=1

# ---- 4. Wine ------------------------------------------------------------------------------
templates_ok=0
wait "$templates_pid" || templates_ok=1
if [ "$templates_ok" -ne 0 ]; then
  echo "making the Wine template prefixes failed:"
  cat "$templates_log"
fi

templates_intact() { (source tools/wine/env.sh && vx_template_check win64 win32); }

# wine_suite NAME COMMAND...: a suite that needs the cross build and the templates.
wine_suite() {
  if [ "$cross_ok" -ne 0 ]; then
    record "$1" 1 0 "not run: cross build failed"
  elif [ "$templates_ok" -ne 0 ]; then
    record "$1" 1 0 "not run: no Wine template prefix"
  else
    suite "$@"
  fi
}

for run in "win64 winxp" "win64 win7" "win64 win8" "win32 win7"; do
  read -r arch version <<<"$run"
  wine_suite "wine: contract, $arch prefix, $version" tests/wine/contract.sh "$arch" "$version"
done
for script in tests/e2e/*.sh tests/gui/*.sh; do
  [ -f "$script" ] || continue
  if [ -x "$script" ]; then
    wine_suite "${script#tests/}" timeout -k 30 "$script_timeout" "./$script"
  else
    wine_suite "${script#tests/}" timeout -k 30 "$script_timeout" bash "$script"
  fi
done
wine_suite "wine: templates untouched by the tests" templates_intact
finish
