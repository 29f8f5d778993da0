#!/usr/bin/env bash
# tools/screenshots.sh [OUTDIR]
#
# Pictures of the editor window for the README: vexilla.exe with the example kit in a fresh
# 64-bit Wine prefix under Xvfb, one PNG per panel with the task pane, and one with the label
# sidebar (the toolkit's [Config] DisableSideBarThemes=1), and the first panel again at 96, 120
# and 144 DPI. Each is cropped to the window.
#   OUTDIR         where the PNGs go (default docs/screenshots)
#   VX_BUILD_DIR   the cross build with vexilla.exe and tools/uidriver.exe (default build/win32)
set -u
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
# shellcheck source=wine/env.sh
source tools/wine/env.sh
export VX_WINE_TIMEOUT=60

out=$(realpath -m "${1:-docs/screenshots}")
exe=$VX_BUILD_DIR/vexilla.exe
driver=$VX_BUILD_DIR/tools/uidriver.exe
for built in "$exe" "$driver"; do
  [ -f "$built" ] || { echo "no $built: build the cross targets vexilla and uidriver first" >&2; exit 1; }
done
mkdir -p "$out" || exit 1

work=$VX_WINE_RUN_DIR/screenshots
rm -rf "$work" && mkdir -p "$work" || exit 1
prefix=
xvfb_pid=
program=
cleanup() {
  [ -z "$prefix" ] || vx_server_kill "$prefix"
  [ -z "$program" ] || wait "$program" 2>/dev/null
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

prefix=$(vx_new_prefix win64 screenshots) || exit 1
cp "$driver" "$prefix/drive_c/vxtools/" || exit 1
# Debian's Wine finds its own fonts (MS Sans Serif, Tahoma, Marlett for the caption buttons)
# only in C:\windows\Fonts.
[ ! -d /usr/share/wine/fonts ] || cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" || exit 1
# Large enough for the window at 144 DPI (about 1100 x 530 pixels).
vx_gui_desktop "$prefix" 1280x1024 || exit 1
mkdir -p "$prefix/drive_c/vexilla" && cp "$exe" "$prefix/drive_c/vexilla/" &&
  cp -a examples/branding/. "$prefix/drive_c/vexilla/" || exit 1
# The toolkit's layout for the label sidebar: one "Config" folder on disk serves both
# C:\Kit\config (corvid.ini) and C:\Kit\Config\Vexilla (the kit).
kit=$prefix/drive_c/Kit
mkdir -p "$kit/Vexilla" "$kit/Config/Vexilla" && cp "$exe" "$kit/Vexilla/" &&
  cp -a examples/branding/. "$kit/Config/Vexilla/" &&
  printf 'not a program: only its presence counts\r\n' >"$kit/CORVID.EXE" &&
  printf '[Config]\r\nDisableSideBarThemes=1\r\n' >"$kit/Config/corvid.ini" || exit 1

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start (see $work/xvfb.log)" >&2; exit 1; }
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY
WINEPREFIX=$prefix wineserver -p60

drive() { vx_wine "$prefix" 'C:\vxtools\uidriver.exe' "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

open_editor() {
  vx_wine "$prefix" "$1" >"$work/editor.log" 2>&1 &
  program=$!
  drive wait-class VexillaMainWindow 20000 >/dev/null || { echo "no editor window" >&2; exit 1; }
}

close_editor() {
  drive close Vexilla wait-gone Vexilla 10000 || exit 1
  wait "$program"
  program=
}

# shot NAME: the window as it is on the screen, after it has had time to paint.
shot() {
  local bounds left top right bottom
  vx_settle 0.8
  bounds=$(drive rect Vexilla) && read -r left top right bottom <<<"$bounds" || exit 1
  import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$out/$1.png" || exit 1
  echo "$out/$1.png"
}

# panel GROUP ITEM FIRST-BOX: clicks a task-pane item with its keyboard and waits for the panel.
panel() {
  local steps=$2
  [ "$1" -lt 2 ] || steps=$((steps + 5))
  drive keys Vexilla 100 "up*12,down*$steps,return" wait-state Vexilla "$3" shown 5000 || exit 1
}

open_editor 'C:\vexilla\vexilla.exe'
panel 1 2 302 && shot editor-xp-oem-link
panel 1 3 401 && shot editor-xp-oeminfo-ini
panel 1 4 502 && shot editor-vista-7-8
panel 1 1 202 && shot editor-common-info
close_editor

open_editor 'C:\Kit\Vexilla\vexilla.exe'
drive wait-state Vexilla 120 shown 5000 >/dev/null || exit 1
shot editor-label-sidebar
close_editor

# The Common Info panel at 96, 120 and 144 DPI: the window lays itself out for the screen's DPI.
for dpi in 96 120 144; do
  vx_server_kill "$prefix" && vx_set_dpi "$prefix" "$dpi" || exit 1
  WINEPREFIX=$prefix wineserver -p60
  open_editor 'C:\vexilla\vexilla.exe'
  shot "editor-dpi-$dpi"
  close_editor
done

cleanup
trap - EXIT
rm -rf "$work" "$prefix"
