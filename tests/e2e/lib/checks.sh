# shellcheck shell=bash
# What every Wine test script shares: one PASS or FAIL line per check, counted in $failures.

failures=0

# check NAME COMMAND...: runs the command as one named check.
check() {
  local name=$1
  shift
  if "$@"; then echo "PASS  $name"; else echo "FAIL  $name"; failures=$((failures + 1)); fi
}

# vx_require_built FILE...: stops the script with a FAIL line unless the cross build made them.
vx_require_built() {
  local built
  for built in "$@"; do
    [ -f "$built" ] || { echo "FAIL  no $built (build the cross targets of the same names)"; exit 1; }
  done
}

# vx_script_summary NAME KEEP_VARIABLE KEPT PATH...: the summary line and the exit status. When
# every check passed, the PATHs go unless the variable named KEEP_VARIABLE is 1; otherwise they
# stay and KEPT says what they hold.
vx_script_summary() {
  local name=$1 keep=${!2-} kept=$3
  shift 3
  trap - EXIT
  if [ "$failures" -eq 0 ]; then
    echo "$name: all checks passed"
    [ "$keep" = 1 ] || rm -rf "$@"
    exit 0
  fi
  echo "$name: $failures check(s) failed; $kept"
  exit 1
}
