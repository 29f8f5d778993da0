#!/usr/bin/env bash
# tools/fuzz/run.sh [SECONDS]: builds the libFuzzer targets of tools/fuzz in build/fuzz (clang,
# AddressSanitizer, UndefinedBehaviorSanitizer) and runs each for SECONDS (default 600) on a
# copy of its seed corpus, tools/fuzz/corpus/<target>. Prints per target the executions, the
# coverage of libFuzzer's last status line (cov: edges, ft: features) and the findings (crash,
# leak and timeout files, kept in build/fuzz/findings/<target>). Exits non-zero on any finding
# or when a target does not build or run.
#   VX_BUILD_ROOT  where the build goes (default: build)
#   VX_FUZZ_JOBS   build jobs (default 2)
set -u
cd "$(dirname "${BASH_SOURCE[0]}")/../.." || exit 1
seconds=${1:-600}
case "$seconds" in '' | *[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;; esac

command -v clang++ >/dev/null || { echo "fuzz: clang++ is missing (tools/setup.sh installs it)" >&2; exit 1; }
build_root=${VX_BUILD_ROOT:-build}
mkdir -p "$build_root" && build_root=$(cd "$build_root" && pwd) || exit 1
build=$build_root/fuzz
CXX=clang++ cmake -S . -B "$build" -DVEXILLA_FUZZ=ON -DVEXILLA_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
  cmake --build "$build" -j "${VX_FUZZ_JOBS:-2}" || { echo "fuzz: the build failed" >&2; exit 1; }

status=0
rows=()
for source in tools/fuzz/*.cpp; do
  target=$(basename "$source" .cpp)
  work=$build/work/$target
  findings=$build/findings/$target
  rm -rf "$work" "$findings"
  mkdir -p "$work" "$findings"
  [ -d "tools/fuzz/corpus/$target" ] && cp -r "tools/fuzz/corpus/$target/." "$work/"
  log=$build/$target.log
  printf 'fuzz: %s for %s s\n' "$target" "$seconds"
  # -fork keeps going after a finding only with more processes; one process stops at the first.
  "$build/tools/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=25 \
    -artifact_prefix="$findings/" "$work" >"$log" 2>&1
  rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  count=$(find "$findings" -type f | wc -l)
  if [ "$rc" -ne 0 ] || [ "$count" -ne 0 ]; then
    status=1
    echo "fuzz: $target: exit $rc; the end of $log:"
    tail -n 30 "$log"
    find "$findings" -type f | sed 's/^/  finding: /'
  fi
  rows+=("$(printf '%-14s %8s s %12s execs  cov %6s  ft %6s  findings %s' \
    "$target" "$seconds" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$count")")
done
printf '%s\n' "${rows[@]}"
exit "$status"
