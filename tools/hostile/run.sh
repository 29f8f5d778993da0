#!/usr/bin/env bash
# tools/hostile/run.sh [--subset] [--keep] [KIT...]: the real vexilla.exe under Wine against the
# broken and hostile kits of tools/hostile/make-kits.py.
#
# Per kit: a clone of a 64-bit prefix reporting Windows 7 (the kits of $also_versions also
# reporting Windows 10 and XP), vexilla.exe and the kit in C:\vexilla, then /autobrand, /desklnk,
# /rem, /restore, /verify and /plan /autobrand /desklnk, each with /log C:\vxlog\hostile.log and a
# time limit (VX_WINE_TIMEOUT, scaled by VX_TIME_SCALE). Each run is judged:
#   crash   its whole 32-bit exit code (dbgcapture --exit-code) is 0xC0000000 or above
#   hang    the time limit ended it
#   window  uidriver.exe watch, running in the prefix under one Xvfb for the whole batch, saw a
#           top-level window become visible
#   stray   a file of drive_c added, changed or removed outside the places below (after each
#           run), or a registry record of system.reg or user.reg (after the kit's last run: the
#           server must end to save the hive; when there is one, the kit's runs are made again
#           in a fresh clone with the server ended after each, to name the switches that wrote
#           it)
# KIT is a number (7, k007) or a kit folder's name; none means every kit, --subset the fixed
# subset of tests/e2e/hostile.sh. Two kits run at a time. Prints one table line per kit and
# run, then a summary per family; the status is 1 when any run crashed, hung, showed a window
# or wrote a stray, 2 when the harness itself failed.
#   VX_HOSTILE_DIR  kits and results (default $VX_WINE_RUN_DIR/hostile); a file "stop" made
#                   there ends the batch after the kits under way
#   VX_HOSTILE_RESUME=1  keep the results of the last batch and run only the kits it lacks
#   VX_HOSTILE_EXE  the program run as C:\vexilla\vexilla.exe (default: the cross build's
#                   vexilla.exe; tests/e2e/hostile.sh gives a stand-in that writes strays)
#   --keep          keep every prefix (by default only those of kits with a finding stay)
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../wine/env.sh
source "$here/../wine/env.sh"
export VX_WINE_TIMEOUT=${VX_HOSTILE_TIMEOUT:-30}

# ---- the places Vexilla may change -------------------------------------------------------------
# Registry keys as system.reg stores them (HKLM\X is X, HKCR\X is Software\Classes\X), each with
# everything below it: the OEM information in both views, the Windows XP OEM link class in both
# views, the program's own key (placed files, the record of the factory backup) in both views.
allowed_keys=(
  'Software\Microsoft\Windows\CurrentVersion\OEMInformation'
  'Software\Wow6432Node\Microsoft\Windows\CurrentVersion\OEMInformation'
  'Software\Classes\CLSID\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}'
  'Software\Classes\Wow6432Node\CLSID\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}'
  'Software\Vexilla'
  'Software\Wow6432Node\Vexilla'
)
# What Wine itself changes when processes start, whatever they do: the display driver's device
# class (a new driver date at every start) and the video keys beside it, in system.reg.
noise_keys=(
  'System\CurrentControlSet\Control\Class'
  'System\CurrentControlSet\Control\Video'
)
# Files below drive_c, compared without regard to case. {ICON} is any icon name the kit gives
# (ShortcutIcon, ButtonIcon, DropDesktopShortcutIcon) and {SHORTCUT} its ShortcutName, each
# only when it is a plain name. "new:" marks a place only a file that was not there before may
# take: an icon copy never replaces a file of the Windows folder.
allowed_files=(
  'windows/system32/oemlogo.bmp'
  'windows/system32/oeminfo.ini'
  'new:windows/{ICON}'
  'users/public/desktop/{SHORTCUT}.url'
  'users/public/desktop/{SHORTCUT}.lnk'
  'programdata/vexilla/*'
  'vxlog/hostile.log'
)

# The runs of every kit, in this order: (name, arguments).
switches=(autobrand desklnk rem restore verify plan)
declare -A switch_args=(
  [autobrand]='/autobrand' [desklnk]='/desklnk' [rem]='/rem' [restore]='/restore'
  [verify]='/verify' [plan]='/plan /autobrand /desklnk'
)

# At least one kit of each family, for tests/e2e/hostile.sh.
subset=(1 5 17 26 43 47 54 77 88 94 102 105 109 116 117 139 144 169 182 200)
# Kits also run reporting Windows 10 and Windows XP.
also_versions=(1 61 87 139)

usage() { echo "usage: $0 [--subset] [--keep] [KIT...] | --allowed files|keys" >&2; exit 2; }

# --allowed files|keys: the allowed places, one a line (for the harness's own check).
if [ "${1-}" = --allowed ]; then
  case "${2-}" in
    files) printf '%s\n' "${allowed_files[@]}" ;;
    keys) printf '%s\n' "${allowed_keys[@]}" ;;
    *) usage ;;
  esac
  exit 0
fi

keep=0
picked=()
while [ $# -gt 0 ]; do
  case "$1" in
    --subset) picked+=("${subset[@]}") ;;
    --keep) keep=1 ;;
    -*) usage ;;
    *) picked+=("$1") ;;
  esac
  shift
done

root=${VX_HOSTILE_DIR:-$VX_WINE_RUN_DIR/hostile}
exe=${VX_HOSTILE_EXE:-$VX_BUILD_DIR/vexilla.exe}
for built in "$exe" "$VX_BUILD_DIR"/tools/{dbgcapture,uidriver}.exe; do
  [ -f "$built" ] || { echo "hostile: no $built (build the cross targets)" >&2; exit 2; }
done
# VX_HOSTILE_RESUME=1 keeps the results of an earlier batch and skips the kits it finished.
if [ "${VX_HOSTILE_RESUME-}" != 1 ]; then rm -rf "$root/results"; fi
mkdir -p "$root/results" && rm -f "$root/stop" || exit 2
python3 "$here/make-kits.py" "$root/kits" >/dev/null || { echo "hostile: make-kits.py failed" >&2; exit 2; }

# kit_folder N|kNNN|NAME: the kit's folder name.
kit_folder() {
  local want=$1 n
  case "$want" in
    [0-9]*) n=$(printf 'k%03d' "$((10#$want))") ;;
    k[0-9][0-9][0-9]) n=$want ;;
    *) n=${want%%-*} ;;
  esac
  (cd "$root/kits" && ls -d "$n"-* 2>/dev/null | head -n 1)
}

kits=()
if [ ${#picked[@]} -eq 0 ]; then
  # Every kit, the families interleaved (the first of each, then the second of each, ...): a
  # batch stopped early has still met every family.
  mapfile -t kits < <(cd "$root/kits" && ls -d k[0-9]* |
    awk '{ f = $0; sub(/^k[0-9]+-/, "", f); printf "%05d %s\n", ++seen[f], $0 }' | sort | cut -d' ' -f2)
else
  for k in "${picked[@]}"; do
    name=$(kit_folder "$k")
    [ -n "$name" ] || { echo "hostile: no kit $k" >&2; exit 2; }
    kits+=("$name")
  done
fi
# (kit, version) pairs.
jobs_list=()
for k in "${kits[@]}"; do
  jobs_list+=("$k win7")
  for a in "${also_versions[@]}"; do
    if [ "$(printf 'k%03d' "$a")" = "${k%%-*}" ]; then jobs_list+=("$k win10" "$k winxp"); fi
  done
done

# ---- bases: one prefix per reported Windows, the kits' clones are made from it -----------------
xvfb_pid=
cleanup() {
  local b
  for b in "${bases[@]}"; do vx_server_kill "$b"; done
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
}
declare -A base=()
bases=()
trap cleanup EXIT
for v in $(printf '%s\n' "${jobs_list[@]}" | awk '{ print $2 }' | sort -u); do
  b=$(vx_new_prefix win64 "hostile-base-$v") || exit 2
  vx_set_version "$b" "$v" && vx_gui_desktop "$b" || exit 2
  # Ends the server, which saves the hive the clones copy, before X starts.
  vx_server_kill "$b"
  base[$v]=$b
  bases+=("$b")
done

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$root/display" 2>"$root/xvfb.log" &
xvfb_pid=$!
# Out of the job table: the batch below counts and waits for kit jobs only.
disown "$xvfb_pid"
for _ in $(seq 100); do [ -s "$root/display" ] && break; sleep 0.1; done
[ -s "$root/display" ] || { echo "hostile: Xvfb did not start (see $root/xvfb.log)" >&2; exit 2; }
DISPLAY=:$(head -n 1 "$root/display")
export DISPLAY

# ---- one kit -----------------------------------------------------------------------------------
# hive_state PREFIX: the records of system.reg and user.reg (prefixed with the file's name), but
# Wine's own noise.
hive_state() {
  { hive_records "$1/system.reg" | hive_records_outside "${noise_keys[@]}" | sed 's/^/system.reg /'
    hive_records "$1/user.reg" | sed 's/^/user.reg /'; } | LC_ALL=C sort
}

# file_state PREFIX: every file of drive_c with its size and modification time, but the kit,
# the harness's tools and temporary files.
file_state() {
  (cd "$1/drive_c" && find . \( -path ./vexilla -o -path ./vxtools -o -ipath '*/temp' \) -prune \
    -o -type f -printf '%P\t%s\t%T@\n' | LC_ALL=C sort)
}

# kit_prefix KIT VERSION PREFIX: a clone of the base of VERSION with the program and the kit in
# C:\vexilla.
kit_prefix() {
  vx_clone "${base[$2]}" "$3" >/dev/null 2>&1 || return 1
  mkdir -p "$3/drive_c/vexilla" "$3/drive_c/vxlog" &&
    cp "$exe" "$3/drive_c/vexilla/vexilla.exe" && cp -a "$root/kits/$1/kit/." "$3/drive_c/vexilla/" &&
    cp "$VX_BUILD_DIR/tools/holdfile.exe" "$3/drive_c/vxtools/"
}

# registry_writers KIT VERSION STATE: the kit's runs once more in a fresh clone, the server ended
# after each to save the hives (kept in the file STATE): prints the switches after which a stray
# registry record appeared.
registry_writers() {
  local prefix=$VX_WINE_RUN_DIR/prefixes/hostile-$1-$2-registry s state=$3
  kit_prefix "$1" "$2" "$prefix" || { echo "?"; return; }
  hive_state "$prefix" >"$state"
  for s in "${switches[@]}"; do
    # shellcheck disable=SC2086
    vx_wine "$prefix" 'C:\vexilla\vexilla.exe' ${switch_args[$s]} /log 'C:\vxlog\hostile.log' \
      >/dev/null 2>&1
    vx_server_kill "$prefix"
    hive_state "$prefix" >"$state.next"
    [ -z "$(python3 "$here/strays.py" registry - "$state" "$state.next" "${allowed_keys[@]}")" ] ||
      echo "$s"
    mv "$state.next" "$state"
  done
  rm -rf "$prefix"
}

# run_kit KIT VERSION: writes $root/results/KIT.VERSION.tsv, one line per run:
#   family kit version switch exitcode seconds crash hang window strays
# (the last line, the registry's, gives in place of the exit code the switches that wrote its
# strays, or "-") and the stray lines themselves into .strays.
run_kit() {
  local kit=$1 version=$2 family prefix out event watcher s rc code t0 took crash hang window
  local seen=0 now strays reg_strays writers=-
  family=${kit#*-}
  out=$root/results/$kit.$version
  prefix=$VX_WINE_RUN_DIR/prefixes/hostile-$kit-$version
  kit_prefix "$kit" "$version" "$prefix" || { echo "the kit's prefix failed" >"$out.error"; return; }
  hive_state "$prefix" >"$out.hive-before"
  WINEPREFIX=$prefix wineserver -p60 2>/dev/null

  event=vx-hostile-watch
  # The watch lasts the kit's whole batch of runs: not the limit of one run.
  VX_WINE_TIMEOUT=$((VX_WINE_TIMEOUT * (${#switches[@]} + 4))) \
    vx_wine "$prefix" 'C:\vxtools\uidriver.exe' watch "$event" 3600000 >"$out.watch" 2>&1 &
  watcher=$!
  for _ in $(seq "$(vx_scaled 300)"); do
    tr -d '\r' <"$out.watch" | grep -qx watching && break
    kill -0 "$watcher" 2>/dev/null || break
    sleep 0.1
  done
  tr -d '\r' <"$out.watch" | grep -qx watching || { echo "the window watch did not start" >"$out.error"; }
  # After the watch: the first process of a fresh clone makes files of its own.
  file_state "$prefix" >"$out.files-before"
  # Named .tsv only when the kit is done: a batch that resumes runs an unfinished kit again.
  : >"$out.tsv.part"
  : >"$out.strays"

  for s in "${switches[@]}"; do
    rc=0
    rm -f "$out.$s.code"
    t0=$(date +%s.%N)
    # shellcheck disable=SC2086
    vx_wine "$prefix" "$VX_TOOLS_WINDIR\\dbgcapture.exe" --exit-code "$(vx_winpath "$prefix" "$out.$s.code")" \
      "$(vx_winpath "$prefix" "$out.$s.lines")" 'C:\vexilla\vexilla.exe' ${switch_args[$s]} \
      /log 'C:\vxlog\hostile.log' >"$out.$s.report" 2>&1 || rc=$?
    took=$(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
    code=$(tr -d '\r\n' <"$out.$s.code" 2>/dev/null)
    hang=no crash=no
    if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
      hang=yes code=-
    elif [ -z "$code" ]; then
      code="rc$rc"
    elif [ $((code)) -ge $((0xC0000000)) ]; then
      crash=yes
    fi
    now=$(tr -d '\r' <"$out.watch" | grep -ac '^new')
    window=no
    [ "$now" -gt "$seen" ] && window=yes
    seen=$now
    file_state "$prefix" >"$out.files-after"
    strays=$(python3 "$here/strays.py" files "$root/kits/$kit/names.txt" "$out.files-before" \
      "$out.files-after" "${allowed_files[@]}" | sort | comm -23 - <(sort "$out.strays"))
    [ -z "$strays" ] || printf '%s\n' "$strays" | sed "s/^/$s /" >>"$out.strays.$s"
    [ -z "$strays" ] || printf '%s\n' "$strays" >>"$out.strays"
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$family" "$kit" "$version" "$s" "$code" \
      "$took" "$crash" "$hang" "$window" "$(printf '%s' "$strays" | grep -c .)" >>"$out.tsv.part"
  done

  # Ending the server saves the hives, and ends the watch: its "new" lines are in already.
  vx_server_kill "$prefix"
  wait "$watcher" 2>/dev/null
  hive_state "$prefix" >"$out.hive-after"
  reg_strays=$(python3 "$here/strays.py" registry - "$out.hive-before" "$out.hive-after" \
    "${allowed_keys[@]}")
  if [ -n "$reg_strays" ]; then
    printf '%s\n' "$reg_strays" | sed 's/^/registry /' >>"$out.strays.registry"
    writers=$(registry_writers "$kit" "$version" "$out.hive-by-switch" | paste -sd, -)
    echo "written by: ${writers:=?}" >>"$out.strays.registry"
  fi
  printf '%s\t%s\t%s\tregistry\t%s\t-\tno\tno\tno\t%s\n' "$family" "$kit" "$version" "$writers" \
    "$(printf '%s' "$reg_strays" | grep -c .)" >>"$out.tsv.part"
  mv "$out.tsv.part" "$out.tsv"
  if [ "$keep" -eq 0 ] && ! awk -F'\t' '$7 == "yes" || $8 == "yes" || $9 == "yes" || $10 > 0 { f = 1 }
                                  END { exit !f }' "$out.tsv"; then
    rm -rf "$prefix"
  fi
}

# ---- the batch, two kits at a time -------------------------------------------------------------
started=$SECONDS
for job in "${jobs_list[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n; done
  # A file "stop" in the batch's folder ends it after the kits under way.
  [ ! -e "$root/stop" ] || break
  [ ! -s "$root/results/${job/ /.}.tsv" ] || continue
  # shellcheck disable=SC2086
  run_kit $job &
done
wait

python3 "$here/strays.py" table "$root/results" "$((SECONDS - started))"
