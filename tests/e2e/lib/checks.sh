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
