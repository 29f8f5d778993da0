#!/usr/bin/env bash
# The editor of the real vexilla.exe keeps its GDI and USER objects flat under Xvfb + Wine
# (64-bit prefix, Windows 7, the example kit): the task pane switches the four panels over and
# over, then "Vexilla Now" runs again and again (every message box answered: Done, the shortcut
# question Yes, Completed!). The counts of the editor's process are read after the first round
# of each and after every batch; the last must be no higher than the first plus a small
# allowance (see "Leaks" in docs/reliability.md for the figures behind it).
#   VX_LEAK_SWITCHES  panel switches (default 100, about 1.5 minutes under emulation;
#                     docs/reliability.md has the figures of a run with 1000)
#   VX_LEAK_BRANDINGS "Vexilla Now" runs (default 20)
#   VX_BUILD_DIR      the cross build with vexilla.exe and tools/ (default build/win32)
#   VX_GUI_KEEP=1     keep the prefix and the counts when all pass
# The counts come from the driver's gui-resources verb (GetGuiResources) when it gives any,
# else from gui-objects (the process's GDI handle table and its windows): Wine 8 answers 0.
# One PASS or FAIL line per check; the counts go to $work/counts.txt.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../tools/wine/env.sh
source "$here/../../tools/wine/env.sh"
# shellcheck source=../e2e/lib/checks.sh
source "$here/../e2e/lib/checks.sh"
# shellcheck source=lib/editor-session.sh
source "$here/lib/editor-session.sh"
export VX_WINE_TIMEOUT=120

switches=${VX_LEAK_SWITCHES:-100}
# Whole cycles, so that every round ends on the first panel, where "Vexilla Now" starts.
switches=$(((switches + 3) / 4 * 4))
brandings=${VX_LEAK_BRANDINGS:-20}
# How many objects the last count may be above the first round's. Measured (docs/reliability.md):
# GDI rises once by 2 or 3 within the first few hundred switches and then stays, over 1000
# switches and 20 runs of Vexilla Now; USER never moves. A leak of one object per switch or run
# shows as +100 or +19 here.
gdi_allowance=4
user_allowance=0
# Switches per driver run (one Wine process each), multiples of the four panels.
switch_batch=100
branding_batch=5

t0=$SECONDS
session_open leaks || exit 1
counts=$work/counts.txt
: >"$counts"

counter=gui-resources
# record LABEL: appends "LABEL gdi N user N at SECONDS" to the counts.
record() {
  local line
  line=$(drive "$counter" Vexilla) || return 1
  echo "$1 $line at $((SECONDS - t0))s" >>"$counts"
}

# The task pane's four Config items, each with the first box of its panel.
panel_items=(1 202 2 302 3 401 4 502)

# switch_panels N: N switches in turn through the four panels from the first (shown), each
# waited for; with N a multiple of four the first panel is shown again at the end.
switch_panels() {
  local verbs=() i item
  for ((i = 1; i <= $1; i++)); do
    item=$((i % 4 * 2))
    verbs+=(keys Vexilla 100 "$(task_item_keys 1 "${panel_items[item]}")"
      wait-state Vexilla "${panel_items[item + 1]}" shown 5000)
  done
  drive "${verbs[@]}" >/dev/null
}

# brand_now N: "Vexilla Now" N times, each of its boxes read and answered.
brand_now() {
  local verbs=() i out want=
  for ((i = 0; i < $1; i++)); do
    verbs+=(keys Vexilla 100 "$(task_item_keys 2 1)"
      box-text Vexilla 20000 answer Vexilla 1 box-text Vexilla 20000 answer Vexilla 6
      box-text Vexilla 20000 answer Vexilla 1 wait-state Vexilla 202 shown 5000)
    want+=$'Done\nDrop a custom desktop shortcut?\nCompleted!\n'
  done
  out=$(drive "${verbs[@]}") || return 1
  [ "$out" = "${want%$'\n'}" ] && return 0
  echo "  the message boxes said:"
  sed 's/^/    /' <<<"$out"
  return 1
}

open_check() {
  start_editor 'C:\vexilla\vexilla.exe' leaks || return 1
  local first
  first=$(drive gui-resources Vexilla) || return 1
  # GetGuiResources gives 0 for both where the system only pretends to count.
  [ "$first" = "gdi 0 user 0" ] && counter=gui-objects
  echo "  GetGuiResources: $first; counting with $counter"
}

# The first round of each warms the editor (fonts, previews, the message box's resources).
first_round_check() {
  switch_panels 4 && brand_now 1 && record "first-round"
}

# in_batches TOTAL DONE BATCH ACTION LABEL: ACTION N, N at most BATCH, until DONE reaches
# TOTAL; the counts recorded as "LABEL <done>" after each batch.
in_batches() {
  local total=$1 done_=$2 batch=$3 action=$4 label=$5 n
  while [ "$done_" -lt "$total" ]; do
    n=$((total - done_ < batch ? total - done_ : batch))
    "$action" "$n" || return 1
    done_=$((done_ + n))
    record "$label $done_" || return 1
  done
}

switches_check() { in_batches "$switches" 4 "$switch_batch" switch_panels switches; }
brandings_check() { in_batches "$brandings" 1 "$branding_batch" brand_now brandings; }

# flat KIND ALLOWANCE: the last count of KIND is at most the first round's plus ALLOWANCE.
flat() {
  local first last
  first=$(awk -v k="$1" '{ for (i = 1; i < NF; i++) if ($i == k) { print $(i + 1); exit } }' "$counts")
  last=$(awk -v k="$1" '{ for (i = 1; i < NF; i++) if ($i == k) v = $(i + 1) } END { print v }' "$counts")
  [ -n "$first" ] && [ -n "$last" ] || { echo "  no $1 counts"; return 1; }
  [ "$last" -le $((first + $2)) ] && return 0
  echo "  $1 objects: $first after the first round, $last at the end (allowed: $2 more)"
  return 1
}

counts_flat_check() {
  sed 's/^/  /' "$counts"
  flat gdi "$gdi_allowance" && flat user "$user_allowance"
}

check "the editor opens beside the example kit; the counter chosen" open_check
check "first round: the four panels, one Vexilla Now" first_round_check
check "$switches panel switches from the task pane" switches_check
check "$brandings runs of Vexilla Now, every box answered" brandings_check
check "GDI objects at most $gdi_allowance and USER objects at most $user_allowance above the first round" \
  counts_flat_check
check "the editor closes and ends with 0, no errors on its channel" close_editor
echo "  $((SECONDS - t0)) s for $switches switches and $brandings brandings (VX_TIME_SCALE $VX_TIME_SCALE)"

session_cleanup
vx_script_summary leaks VX_GUI_KEEP "counts in $counts, prefix kept: $prefix" "$work" "$prefix"
