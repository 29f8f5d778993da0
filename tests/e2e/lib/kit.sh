# shellcheck shell=bash
# What the branding scripts share: their start and end, a prefix with vexilla.exe and a kit in
# C:\vexilla, runs of it with their lines captured, and read-back of what it left. After
# kit_script_begin:
#   exe       the vexilla.exe to test          kit    the kit folder copied beside it
#   work      where captured lines go          prefixes  every prefix made, for clean-up

# kit_script_begin NAME: the start every kit script shares: $exe, $kit, an empty $work, the
# prefix list, and the clean-up of their servers however the script ends.
kit_script_begin() {
  exe=$VX_BUILD_DIR/vexilla.exe
  kit=$VX_REPO_DIR/examples/branding
  vx_require_built "$exe" "$VX_BUILD_DIR/tools/lnkinfo.exe" "$VX_BUILD_DIR/tools/lockkey.exe"
  work=$VX_WINE_RUN_DIR/e2e-$1
  rm -rf "$work" && mkdir -p "$work" || exit 1
  prefixes=()
  trap kit_cleanup EXIT
}

# kit_cleanup: every prefix's server, and the X server of a script that started one (kit_xvfb_pid).
kit_cleanup() {
  local p
  for p in "${prefixes[@]}"; do vx_server_kill "$p"; done
  [ -z "${kit_xvfb_pid-}" ] || kill "$kit_xvfb_pid" 2>/dev/null
}

# kit_script_end NAME ARCH...: the templates of ARCH untouched, the summary line, the exit status.
kit_script_end() {
  local name=$1
  shift
  kit_cleanup
  trap - EXIT
  if ! vx_template_check "$@"; then
    echo "FAIL  the tests wrote through into a template prefix"
    failures=$((failures + 1))
  fi
  vx_script_summary "$name" VX_E2E_KEEP "captured lines in $work, prefixes kept: ${prefixes[*]}" \
    "$work" "${prefixes[@]}"
}

# new_kit_prefix ARCH NAME VERSION: a fresh clone with vexilla.exe and the kit in C:\vexilla,
# the read-back helpers in C:\vxtools, reporting VERSION, and a warm server. Sets $prefix.
new_kit_prefix() {
  prefix=$(vx_new_prefix "$1" "$2") || return 1
  prefixes+=("$prefix")
  vx_set_version "$prefix" "$3" || return 1
  mkdir -p "$prefix/drive_c/vexilla" && cp "$exe" "$prefix/drive_c/vexilla/" &&
    cp -a "$kit/." "$prefix/drive_c/vexilla/" &&
    cp "$VX_BUILD_DIR/tools/lnkinfo.exe" "$VX_BUILD_DIR/tools/lockkey.exe" "$prefix/drive_c/vxtools/" || return 1
  warm "$prefix"
}

# One server for a run of steps: a cold start costs 1-2 s per process. It ends by itself a
# minute after its last process should the script die without its clean-up.
warm() { WINEPREFIX=$1 wineserver -p60 2>/dev/null || true; }

# Ends the server, which saves the registry to system.reg, and starts a new one. Permissions
# set on keys do not survive this (Wine does not save DACLs).
saved() {
  vx_server_kill "$1"
  warm "$1"
}

# run PREFIX NAME ARGS...: vexilla.exe ARGS as a debuggee, ending with 0; its lines in
# $work/NAME.txt, its report (standard output) in $work/NAME.report.
run() { run_ending 0 "$@"; }

# run_ending CODE PREFIX NAME ARGS...: the same for a run that must end with exit code CODE.
run_ending() {
  local code=$1 prefix=$2 name=$3 rc=0
  shift 3
  vx_capture "$prefix" "$work/$name.txt" 'C:\vexilla\vexilla.exe' "$@" >"$work/$name.report" || rc=$?
  [ "$rc" -eq "$code" ] && return 0
  echo "  vexilla.exe $* ended with $rc, expected $code (lines in $work/$name.txt):"
  sed 's/^/    /' "$work/$name.report"
  return 1
}

# has NAME LINE...: each LINE is a whole line of the report $work/NAME.report.
has() {
  local report=$work/$1.report line bad=0
  shift
  for line in "$@"; do
    tr -d '\r' <"$report" | grep -qxF -- "$line" || { echo "  no line \"$line\" in $report"; bad=1; }
  done
  [ "$bad" -eq 0 ] || sed 's/^/    /' "$report"
  return "$bad"
}

# same WHAT EXPECTED ACTUAL: equal texts, or a diff under the check.
same() {
  [ "$2" = "$3" ] && return 0
  echo "  $1 differs (- expected, + actual):"
  diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | sed -n 's/^< /    - /p; s/^> /    + /p'
  return 1
}

# tree PREFIX KEY: KEY's saved values (the server must have saved: see saved()).
tree() { hive_tree "$1/system.reg" "$2"; }

# same_file KIT-FILE PREFIX-FILE: a byte-identical copy.
same_file() {
  [ -f "$2" ] || { echo "  missing: $2"; return 1; }
  cmp -s "$1" "$2" || { echo "  $2 is not a copy of $1"; return 1; }
}

no_file() {
  [ ! -e "$1" ] && return 0
  echo "  still there: $1"
  return 1
}

# reg PREFIX ARGS...: Wine's reg.exe, quietly.
reg() {
  local prefix=$1
  shift
  vx_wine "$prefix" reg "$@" >/dev/null || { echo "  reg $* failed"; return 1; }
}

# state PREFIX [times]: the saved system hive and every file of drive_c (but the kits, the
# harness's tools and Wine's temporary files), with their SHA-256 (and with "times", their
# modification times too), as lines two states compare by. Wine's display driver rewrites its
# device classes at every start (a new driver date, names that come and go): that key is left
# out.
state() {
  hive_records "$1/system.reg" | hive_records_outside 'System\CurrentControlSet\Control\Class'
  (cd "$1/drive_c" && find . \( -path ./vexilla -o -path ./vexilla2 -o -path ./vxtools \
    -o -ipath '*/temp' \) -prune -o -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum)
  [ "${2-}" != times ] ||
    (cd "$1/drive_c" && find . \( -path ./vexilla -o -path ./vexilla2 -o -path ./vxtools \
      -o -ipath '*/temp' \) -prune -o -printf '%T@ %p\n' | LC_ALL=C sort -k2)
}
