#!/usr/bin/env bash
# ./test.sh [TIER...]: the test tiers, from a fresh clone on Debian 12. No TIER runs them all.
#   native  native build with sanitizers: unit and contract tests on the simulated Windows
#   cross   the i686 Release build (the exe users get) and its ctest (import table and the like)
#   wine    the contract tests under Wine: a 64-bit prefix reporting XP, 7 and 8, a 32-bit prefix
#   e2e     every tests/e2e/*.sh: the real vexilla.exe under Wine
#   gui     every tests/gui/*.sh: the editor window under Xvfb and Wine
#   fuzz    the libFuzzer targets of tools/fuzz, built with clang, 5 seconds each
# The Wine tiers build the cross tier first (and count it). Before any tier, tools/setup.sh
# installs what is missing (as root; otherwise it says what to run and the tiers do not run).
# Ends with "N passed, N failed" and a non-zero status when anything failed.
#   VX_BUILD_ROOT  where the builds go (default: build, i.e. build/native and build/win32)
set -u
cd "$(dirname "${BASH_SOURCE[0]}")" || exit 1

all_tiers=(native fuzz cross wine e2e gui)
declare -A want=()
for tier in "$@"; do
  case " ${all_tiers[*]} " in
    *" $tier "*) want[$tier]=1 ;;
    *) echo "usage: $0 [TIER...] with TIER one of: ${all_tiers[*]}" >&2; exit 2 ;;
  esac
done
if [ $# -eq 0 ]; then
  for tier in "${all_tiers[@]}"; do want[$tier]=1; done
fi
wants() { [ -n "${want[$1]-}" ]; }
wants_wine() { wants wine || wants e2e || wants gui; }
wants_wine && want[cross]=1

build_root=${VX_BUILD_ROOT:-build}
mkdir -p "$build_root" && build_root=$(cd "$build_root" && pwd) || exit 1
native=$build_root/native
cross=$build_root/win32
jobs=$(nproc)
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
banner "set-up"
tools/setup.sh || { record "set-up" 1 $((SECONDS - started)) "see above"; finish; }

# ---- Wine templates, made while the code compiles -----------------------------------------
export VX_BUILD_DIR=$cross
export VX_WINE_RUN_DIR=$cross/wine
if wants_wine; then
  # One template per run: last run's prefixes (and whatever a failed test left in them) go.
  rm -rf "$VX_WINE_RUN_DIR"
  mkdir -p "$VX_WINE_RUN_DIR"
  templates_log=$VX_WINE_RUN_DIR/templates.log
  (source tools/wine/env.sh && vx_template win64 >/dev/null && vx_template win32 >/dev/null) \
    >"$templates_log" 2>&1 &
  templates_pid=$!
fi

# ---- native -------------------------------------------------------------------------------
native_tier() {
  cmake -S . -B "$native" -DVEXILLA_SANITIZE=ON &&
    cmake --build "$native" -j "$jobs" &&
    ctest --test-dir "$native" --output-on-failure --no-tests=error -j "$jobs"
}
wants native && suite "native: unit + contract (simulated Windows)" native_tier

# ---- fuzz: a few seconds per target, so every run proves the targets build and hold ------
fuzz_tier() { VX_BUILD_ROOT=$build_root VX_FUZZ_JOBS=$jobs tools/fuzz/run.sh 5; }
wants fuzz && suite "fuzz: libFuzzer targets, 5 s each" fuzz_tier

# ---- cross: the Release exe every Wine tier tests -----------------------------------------
cross_tier() {
  cmake -S . -B "$cross" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release &&
    cmake --build "$cross" -j "$jobs" &&
    ctest --test-dir "$cross" --output-on-failure --no-tests=error -j "$jobs"
}
cross_ok=0
if wants cross; then
  suite "cross: i686 Release build + checks" cross_tier || cross_ok=1
fi
wants_wine || finish

# ---- Wine ---------------------------------------------------------------------------------
source tools/wine/env.sh
# Any one e2e or gui script; the Wine calls inside have their own, shorter limits.
script_timeout=$(vx_scaled 1800)
templates_ok=0
wait "$templates_pid" || templates_ok=1
if [ "$templates_ok" -ne 0 ]; then
  echo "making the Wine template prefixes failed:"
  cat "$templates_log"
fi

templates_intact() { vx_template_check win64 win32; }

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

if wants wine; then
  for run in "win64 winxp" "win64 win7" "win64 win8" "win32 win7"; do
    read -r arch version <<<"$run"
    wine_suite "wine: contract, $arch prefix, $version" tests/wine/contract.sh "$arch" "$version"
  done
fi
scripts=()
wants e2e && scripts+=(tests/e2e/*.sh)
wants gui && scripts+=(tests/gui/*.sh)
for script in "${scripts[@]}"; do
  [ -f "$script" ] || continue
  wine_suite "${script#tests/}" timeout -k 30 "$script_timeout" bash "$script"
done
wine_suite "wine: templates untouched by the tests" templates_intact
finish
