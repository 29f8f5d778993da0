#!/usr/bin/env bash
# The editor window of the real vexilla.exe under Xvfb + Wine (64-bit prefix), driven by
# uidriver.exe through the control ids of src/ui/ControlIds.h:
#   1. with the example kit beside the exe (Windows 7, task pane): what the window loads, the
#      keyboard, switching panels, filling every box, "Save and Close" and the files it
#      writes, reopening, the close box (no save), "Vexilla Now" with its message boxes and
#      what it leaves in the registry and on disk, "Restore Factory Branding" declined,
#      "Remove OS Branding"; the support URL box refuses what the settings file cannot hold;
#   2. the same prefix reporting Windows XP: "Vexilla Now" copies the support text and
#      registers the OEM link key tree;
#   3. inside the toolkit's layout with [Config] DisableSideBarThemes=1: the label sidebar,
#      its links and its "Save && Close";
#   4. the manifest's DPI awareness as the system reads it; at 96, 120 and 144 DPI: the window
#      laid out for the DPI, every panel and the label sidebar without a clipped or
#      overlapping control;
#   5. a kit saved by Notepad in UTF-8 with names outside the code page: the boxes show them
#      whole, "Save and Close" keeps the byte-order mark, the comment and the encoding, and the
#      support text it writes keeps every character.
# One PASS or FAIL line per check; the exit status is non-zero when any check failed.
#   VX_BUILD_DIR   the cross build with vexilla.exe and tools/ (default build/win32)
#   VX_GUI_KEEP=1  keep the prefix, the captured lines and the driver output when all pass
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../tools/wine/env.sh
source "$here/../../tools/wine/env.sh"
# shellcheck source=../e2e/lib/checks.sh
source "$here/../e2e/lib/checks.sh"
# A hang fails its check long before the script's own limit.
export VX_WINE_TIMEOUT=60

# shellcheck source=lib/editor-session.sh
source "$here/lib/editor-session.sh"
session_open editor || exit 1

# ---- reading back --------------------------------------------------------------------------
# expect_box ID WANT: control ID of the editor holds exactly WANT.
expect_box() {
  local got
  got=$(drive gettext Vexilla "$1") || return 1
  # The driver's output passes through tr -d '\r': lines of a multi-line box end in LF here.
  [ "$got" = "${2//$'\r'/}" ] && return 0
  echo "  control $1 holds '$got', expected '$2'"
  return 1
}

# expect_boxes ID WANT [ID WANT...]: every one checked, every mismatch shown.
expect_boxes() {
  local status=0
  while [ $# -ge 2 ]; do
    expect_box "$1" "$2" || status=1
    shift 2
  done
  return "$status"
}

# expect_states STATE ID...: each control is shown, hidden, checked, unchecked or focused.
expect_states() {
  local state=$1 id status=0
  shift
  for id in "$@"; do
    drive wait-state Vexilla "$id" "$state" 3000 || status=1
  done
  return "$status"
}

# ini_get FILE SECTION KEY: the value as the INI functions read it (section and key in any
# case, spaces around the "=" kept); fails when the key is missing.
ini_get() {
  tr -d '\r' <"$1" | VX_SECTION=$2 VX_KEY=$3 awk '
    BEGIN { section = tolower(ENVIRON["VX_SECTION"]); key = tolower(ENVIRON["VX_KEY"]) }
    /^\[/ { inside = tolower($0) == "[" section "]"; next }
    inside && index($0, "=") && tolower(substr($0, 1, index($0, "=") - 1)) == key {
      print substr($0, index($0, "=") + 1); found = 1; exit
    }
    END { exit !found }'
}

# expect_ini FILE SECTION KEY WANT [SECTION KEY WANT...]
expect_ini() {
  local file=$1 got status=0
  shift
  while [ $# -ge 3 ]; do
    if ! got=$(ini_get "$file" "$1" "$2"); then
      echo "  no [$1] $2 in $file"
      status=1
    elif [ "$got" != "$3" ]; then
      echo "  [$1] $2='$got' in $file, expected '$3'"
      status=1
    fi
    shift 3
  done
  return "$status"
}

# expect_file FILE COMMAND...: FILE holds exactly the bytes COMMAND prints.
expect_file() {
  local file=$1
  shift
  [ -f "$file" ] || { echo "  no file $file"; return 1; }
  cmp -s "$file" <("$@") && return 0
  echo "  $file differs from what was expected (- found, + expected):"
  diff <(cat -A "$file") <("$@" | cat -A) | sed 's/^/    /'
  return 1
}

# expect_reg VIEW KEY NAME WANT: the value as reg.exe shows it in the 32- or 64-bit view.
expect_reg() {
  local got
  got=$(vx_reg_get "$prefix" "$1" "$2" "$3") || { echo "  no value $3 under $2 (view $1)"; return 1; }
  [ "$got" = "$4" ] && return 0
  echo "  $2 $3 = '$got' (view $1), expected '$4'"
  return 1
}

# expect_reg_default VIEW KEY WANT: the key's default value (reg.exe lists an empty one for
# every key, so an empty WANT proves only that the key exists).
expect_reg_default() {
  local out got
  out=$(vx_reg_query "$prefix" "$1" "$2" /ve) || { echo "  no key $2 (view $1)"; return 1; }
  got=$(sed -n 's/^    (Default)    REG_[A-Z_]*    \{0,1\}//p' <<<"$out")
  [ "$got" = "$3" ] && return 0
  echo "  $2 default = '$got' (view $1), expected '$3'"
  return 1
}

expect_no_reg() {
  vx_reg_get "$prefix" "$1" "$2" "$3" >/dev/null || return 0
  echo "  $2 $3 exists (view $1), expected none"
  return 1
}

# ---- what the example kit holds and what the test types ------------------------------------
# Text1 after loading the kit's oeminfo.ini: the value after the first "=" of every line that
# is not empty, a section, the manufacturer or the model; the [General] SupportURL included.
kit_support_lines=(
  'https://support.example.com/'
  'Northwind Systems Technical Support'
  '" "'
  'Telephone: (555) 555-0142'
  'Hours: Monday to Friday 8am - 6pm, Saturday 9am - 1pm'
  'Web: https://support.example.com/'
  '" "'
  'Please have the serial number from the label on the back'
  'of your computer ready when you call.'
)
kit_support_text=$(printf '%s\r\n' "${kit_support_lines[@]}")
kit_support_text=${kit_support_text%$'\r'}

# Box id, then its text. Text1 (401) has three lines, one with an "=" of its own.
typed_support_text=$'Contoso Fabrikam support desk\r\nPhone = +44 20 7946 0000\r\nMonday to Saturday, 7am - 9pm'
typed=(
  202 'Contoso Fabrikam Ltd'
  204 'CX-9000 Tower'
  207 'https://contoso.example/help'
  209 'Contoso Help'
  211 'support.ico'
  302 'Contoso Support'
  304 'Drivers, manuals & contacts'
  306 'support.ico'
  311 'http://contoso.example/start'
  314 'mailto:help@contoso.example'
  316 'Mail the help desk'
  401 "$typed_support_text"
  502 '+44 20 7946 0000'
  504 '24 hours, 7 days'
  506 'desk.contoso.example/open'
  509 'Contoso Care'
  511 'contoso-care:open'
)
typed_value() {
  local i
  for ((i = 0; i < ${#typed[@]}; i += 2)); do
    [ "${typed[i]}" = "$1" ] && { printf '%s' "${typed[i + 1]}"; return 0; }
  done
  return 1
}

settings=$app/Vexilla.INI
branding_support=$app/oeminfo.ini
oem_key='HKLM\Software\Microsoft\Windows\CurrentVersion\OEMInformation'
system32=$prefix/drive_c/windows/system32
desktop=$prefix/drive_c/users/Public/Desktop

# ==== 1. the example kit, Windows 7, the task pane ==========================================
load_values_check() {
  expect_boxes 202 'Northwind Systems' 204 'Northwind Pro 5200' \
    207 'https://support.example.com/' 209 'Northwind Support' 211 'support.ico' \
    302 'Northwind Support' 304 'Help, drivers and contact details from Northwind Systems' \
    306 'support.ico' 311 'https://support.example.com/' 314 'https://www.example.com/drivers/' \
    316 'Drivers and Downloads' 401 "$kit_support_text" \
    502 '(555) 555-0142' 504 'Monday to Friday 8am - 6pm, Saturday 9am - 1pm' \
    506 'https://support.example.com/' 509 '' 511 '' &&
    expect_states checked 213 && expect_states unchecked 214
}

load_layout_check() {
  expect_states shown 100 202 204 207 209 211 213 214 600 601 602 &&
    expect_states hidden 101 110 111 112 120 121 122 123 124 125 126 127 302 309 401 502 &&
    expect_boxes 600 'OEMLOGO.BMP' 200 'System Properties Dialog Text:' 205 'Custom URL Desktop Shortcut:' \
      213 'Use Default Browser (.URL Shortcut)' 214 'Use Internet Explorer (.LNK Shortcut)' \
      602 'Your OEMLOGO.BMP must be in the \Branding subdirectory.' 603 ''
}

# Tab goes through IsDialogMessage in the message loop; Enter and Esc change nothing.
keyboard_check() {
  expect_states focused 202 || return 1
  drive keys Vexilla 202 tab && expect_states focused 204 || return 1
  drive keys Vexilla 204 tab && expect_states focused 207 || return 1
  drive keys Vexilla 207 return,escape && expect_states shown 202 && expect_states focused 207
}

# colour_pixels ID RRGGBB: how many pixels of control ID on the screen have about that colour.
colour_pixels() {
  local bounds left top right bottom shot=$work/control-$1.png
  bounds=$(drive ctlrect Vexilla "$1") && read -r left top right bottom <<<"$bounds" || return 1
  import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$shot" || return 1
  convert "$shot" -alpha off -fuzz 6% -fill black +opaque "#$2" -fill white -opaque "#$2" \
    -format '%[fx:round(mean*w*h)]' info:
}

# The kit's logo is mostly navy (#1B365D, 7112 of its 120 x 120 pixels), its icon's 48-pixel
# image shows a red ring (#E03A3E, 316 pixels).
previews_check() {
  local logo icon
  # Painting follows showing; give it a moment before reading the screen.
  vx_settle 0.5
  logo=$(colour_pixels 601 1B365D) || return 1
  task_item 1 2 && drive wait-state Vexilla 309 shown && vx_settle 0.5 || return 1
  icon=$(colour_pixels 309 E03A3E) || return 1
  task_item 1 1 && drive wait-state Vexilla 202 shown || return 1
  [ "$logo" -ge 5000 ] && [ "$icon" -ge 200 ] && return 0
  echo "  $logo navy pixels in Image1, $icon red pixels in Image2"
  return 1
}

# panel_shown FIRST-BOX: that panel's first box is visible and the other panels' are not.
panel_shown() {
  local box others=()
  for box in 202 302 401 502; do [ "$box" = "$1" ] || others+=("$box"); done
  expect_states shown "$1" && expect_states hidden "${others[@]}"
}

task_pane_panels_check() {
  task_item 1 2 && panel_shown 302 && expect_states shown 309 316 || return 1
  task_item 1 3 && panel_shown 401 || return 1
  task_item 1 4 && panel_shown 502 || return 1
  task_item 1 1 && panel_shown 202
}

# 300 characters typed into txtSupportURL: the box keeps the first 254, as many as a read of
# Vexilla.INI gives back. The keys are posted, and the characters they make are posted after
# them: the text is read until it stops growing.
support_url_limit_check() {
  local want got previous=-1 tries
  want=$(printf 'a%.0s' $(seq 254))
  task_item 1 4 && panel_shown 502 || return 1
  drive settext Vexilla 506 '' press Vexilla 506 keys Vexilla 506 '65*300' || return 1
  for ((tries = 0; tries < 30; tries++)); do
    vx_settle 1
    got=$(drive gettext Vexilla 506) || return 1
    [ "${#got}" -ge 254 ] && [ "${#got}" -eq "$previous" ] && break
    previous=${#got}
  done
  # picCommon again, as the checks after this one expect.
  task_item 1 1 && panel_shown 202 || return 1
  [ "$got" = "$want" ] && return 0
  echo "  txtSupportURL holds ${#got} characters after 300 typed, expected 254 times 'a'"
  return 1
}

fill_every_box() {
  local i
  for ((i = 0; i < ${#typed[@]}; i += 2)); do
    drive settext Vexilla "${typed[i]}" "${typed[i + 1]}" || return 1
  done
  drive click Vexilla 214 && expect_states checked 214 && expect_states unchecked 213
}

save_and_close_check() {
  fill_every_box || return 1
  task_item 3 1 && editor_ended
}

saved_settings_check() {
  expect_ini "$settings" \
    OSBranding Mfgr "$(typed_value 202)" OSBranding Model "$(typed_value 204)" \
    OSBranding Phone "$(typed_value 502)" OSBranding Hours "$(typed_value 504)" \
    OSBranding URL "$(typed_value 506)" OSBranding ButtonName "$(typed_value 302)" \
    OSBranding ButtonToolTip "$(typed_value 304)" OSBranding ButtonAction "$(typed_value 311)" \
    OSBranding ButtonAltAction "$(typed_value 314)" OSBranding ButtonAltName "$(typed_value 316)" \
    OSBranding ButtonIcon "$(typed_value 306)" \
    DesktopShortcut ShortcutURL "$(typed_value 207)" DesktopShortcut ShortcutName "$(typed_value 209)" \
    DesktopShortcut ShortcutIcon "$(typed_value 211)" DesktopShortcut UseIE 1 \
    OSBranding SupportProvider "$(typed_value 509)" OSBranding SupportAppURL "$(typed_value 511)" \
    Config DropDesktopShortcutIcon support.ico
}

expected_support_file() {
  printf '[General]\r\nManufacturer=%s\r\nModel=%s\r\n[Support Information]\r\n' "$1" "$2"
  local line k=1
  while IFS= read -r line; do
    printf 'Line%d=%s\r\n' "$k" "${line%$'\r'}"
    k=$((k + 1))
  done <<<"$3"
}

saved_support_text_check() {
  expect_file "$branding_support" \
    expected_support_file "$(typed_value 202)" "$(typed_value 204)" "$typed_support_text"
}

reopen_check() {
  local i status=0
  start_editor 'C:\vexilla\vexilla.exe' reopen || return 1
  for ((i = 0; i < ${#typed[@]}; i += 2)); do
    expect_box "${typed[i]}" "${typed[i + 1]}" || status=1
  done
  expect_states checked 214 && expect_states unchecked 213 || status=1
  return "$status"
}

# Still open from the reopen check.
close_box_check() {
  cp "$settings" "$work/settings.before" && cp "$branding_support" "$work/support.before" || return 1
  drive settext Vexilla 202 'Not to be saved' settext Vexilla 401 'Not to be saved' || return 1
  close_editor || return 1
  cmp -s "$settings" "$work/settings.before" && cmp -s "$branding_support" "$work/support.before" && return 0
  echo "  the close box changed the settings or the support text"
  return 1
}

brand_now_boxes_check() {
  start_editor 'C:\vexilla\vexilla.exe' brand-now || return 1
  task_item 2 1 && answer_box Done 1 && answer_box 'Drop a custom desktop shortcut?' 6 &&
    answer_box 'Completed!' 1 && drive wait-state Vexilla 202 shown 5000
}

# The editor's values, the support address with "http://" put in front, in the 64-bit view
# only; the kit's logo in the 64-bit System32; a .lnk shortcut (UseIE=1). SupportProvider is
# not written before Windows 10.
brand_now_results_check() {
  local status=0
  expect_reg 64 "$oem_key" HelpCustomized 0x0 &&
    expect_reg 64 "$oem_key" Logo 'C:\windows\System32\oemlogo.bmp' &&
    expect_reg 64 "$oem_key" Manufacturer "$(typed_value 202)" &&
    expect_reg 64 "$oem_key" Model "$(typed_value 204)" &&
    expect_reg 64 "$oem_key" SupportHours "$(typed_value 504)" &&
    expect_reg 64 "$oem_key" SupportPhone "$(typed_value 502)" &&
    expect_reg 64 "$oem_key" SupportURL "http://$(typed_value 506)" &&
    expect_no_reg 32 "$oem_key" Manufacturer &&
    expect_no_reg 64 "$oem_key" SupportProvider || status=1
  cmp -s "$system32/oemlogo.bmp" "$kit/oemlogo.bmp" || { echo "  no kit logo in the 64-bit System32"; status=1; }
  [ -f "$desktop/$(typed_value 209).lnk" ] || { echo "  no $(typed_value 209).lnk on the public desktop"; status=1; }
  return "$status"
}

restore_question='Restore the factory branding that Vexilla recorded before its first change, and remove what Vexilla placed?'

# "Restore Factory Branding" is the third item of "Branding Actions"; answered No, it leaves
# the branding, the logo, the shortcut and the settings file as they were, and says nothing more.
restore_declined_check() {
  cp "$settings" "$work/settings.before" || return 1
  task_item 2 3 && answer_box "$restore_question" 7 && drive wait-state Vexilla 202 shown 5000 ||
    return 1
  if drive box-text Vexilla 3000 >/dev/null 2>&1; then
    echo "  a message box followed the No"
    return 1
  fi
  cmp -s "$settings" "$work/settings.before" || { echo "  the settings file changed"; return 1; }
  brand_now_results_check
}

remove_branding_check() {
  local name status=0
  task_item 2 2 && answer_box Done 1 && drive wait-state Vexilla 202 shown 5000 || return 1
  for name in Logo Manufacturer SupportHours SupportPhone SupportURL Model; do
    expect_no_reg 64 "$oem_key" "$name" || status=1
  done
  expect_reg 64 "$oem_key" HelpCustomized 0x0 || status=1
  [ ! -e "$system32/oemlogo.bmp" ] || { echo "  the logo is still in System32"; status=1; }
  [ ! -e "$desktop/$(typed_value 209).lnk" ] || { echo "  the shortcut is still on the desktop"; status=1; }
  close_editor || status=1
  return "$status"
}

check "the editor window opens without switches, beside the example kit" \
  start_editor 'C:\vexilla\vexilla.exe' first-load
check "load: task pane and picCommon shown, label sidebar and other panels hidden, exact captions" \
  load_layout_check
check "load: every box from the example kit, Use Default Browser selected" load_values_check
check "keyboard: focus starts in txtMfgr, Tab moves through the boxes, Enter and Esc do nothing" \
  keyboard_check
check "previews: Image1 shows the branding folder's logo, Image2 the OEM link icon" previews_check
check "task pane: Config items switch between the four panels" task_pane_panels_check
check "txtSupportURL: 300 characters typed, the first 254 kept" support_url_limit_check
check "every box filled, option changed, Save and Close from the task pane ends the program" \
  save_and_close_check
check "Vexilla.INI holds every box's text exactly (Config key untouched)" saved_settings_check
check "branding oeminfo.ini holds manufacturer, model and the support lines exactly" \
  saved_support_text_check
check "reopened: every box and the option read back what was saved" reopen_check
check "close box: closes without saving" close_box_check
check "Vexilla Now (Windows 7): Done, shortcut question answered Yes, Completed!" brand_now_boxes_check
check "Vexilla Now: OEM information in the 64-bit view, logo in System32, .lnk on the desktop" \
  brand_now_results_check
check "Restore Factory Branding: the question, answered No, changes nothing" restore_declined_check
check "Remove OS Branding: values, logo and shortcut gone, HelpCustomized kept" remove_branding_check

# ==== 2. the same prefix reporting Windows XP ===============================================
clsid='HKCR\CLSID\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}'

xp_brand_now_check() {
  server_down && vx_set_version "$prefix" winxp && server_up || return 1
  start_editor 'C:\vexilla\vexilla.exe' xp-brand-now || return 1
  # A web shortcut this time.
  drive click Vexilla 213 && expect_states checked 213 || return 1
  task_item 2 1 && answer_box Done 1 && answer_box 'Drop a custom desktop shortcut?' 6 &&
    answer_box 'Completed!' 1 && close_editor
}

xp_support_text_check() {
  cmp -s "$system32/oeminfo.ini" "$branding_support" && return 0
  echo "  C:\\windows\\system32\\oeminfo.ini is not the branding folder's oeminfo.ini"
  return 1
}

# The key tree in the order and form the OEM link registration writes it (64-bit view);
# the alternate action is present as both of its boxes are filled.
xp_oem_link_check() {
  local status=0
  expect_reg_default 64 "$clsid\\DefaultIcon" 'C:\windows\support.ico' || status=1
  expect_reg_default 64 "$clsid" "$(typed_value 302)" || status=1
  expect_reg 64 "$clsid" LocalizedString "$(typed_value 302)" || status=1
  expect_reg 64 "$clsid" InfoTip "$(typed_value 304)" || status=1
  expect_reg 64 "$clsid\\Instance\\InitPropertyBag" CLSID '{13709620-C279-11CE-A49E-444553540000}' || status=1
  expect_reg 64 "$clsid\\Instance\\InitPropertyBag" method ShellExecute || status=1
  expect_reg 64 "$clsid\\Instance\\InitPropertyBag" Command "$(typed_value 302)" || status=1
  expect_reg 64 "$clsid\\Instance\\InitPropertyBag" Param1 "$(typed_value 311)" || status=1
  expect_reg 64 "$clsid\\Instance\\InitPropertyBag" properties "$(typed_value 314)" || status=1
  expect_reg 64 "$clsid\\Instance\\InitPropertyBag" propertiestext "$(typed_value 316)" || status=1
  expect_reg 64 "$clsid\\Instance" CLSID '{3f454f0e-42ae-4d7c-8ea3-328250d6e272}' || status=1
  expect_reg 64 "$clsid\\ShellFolder" Attributes 0x0 || status=1
  expect_reg_default 64 "$clsid\\InProcServer32" '%SystemRoot%\system32\shdocvw.dll' || status=1
  expect_reg 64 "$clsid\\InProcServer32" ThreadingModel Apartment || status=1
  vx_reg_query "$prefix" 64 "$clsid\\shellex\\ContextMenuHandlers\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}" \
    >/dev/null || { echo "  no shellex\\ContextMenuHandlers key"; status=1; }
  vx_reg_query "$prefix" 64 "$clsid\\shellex\\MayChangeDefaultMenu" >/dev/null ||
    { echo "  no shellex\\MayChangeDefaultMenu key"; status=1; }
  expect_no_reg 64 "$oem_key" Manufacturer || status=1
  [ -f "$prefix/drive_c/windows/support.ico" ] || { echo "  the link's icon is not in C:\\windows"; status=1; }
  return "$status"
}

expected_url_file() {
  printf '[InternetShortcut]\r\nURL=%s\r\nIconFile=C:\\windows\\%s\r\nIconIndex=0\r\n' \
    "$(typed_value 207)" "$(typed_value 211)"
}

xp_shortcut_check() { expect_file "$desktop/$(typed_value 209).url" expected_url_file; }

check "Vexilla Now (Windows XP): Done, shortcut question answered Yes, Completed!" xp_brand_now_check
check "Vexilla Now (Windows XP): oeminfo.ini copied into System32" xp_support_text_check
check "Vexilla Now (Windows XP): the OEM link key tree, no OEM information values" xp_oem_link_check
check "Vexilla Now (Windows XP): .url shortcut on the public desktop" xp_shortcut_check

# ==== 3. inside the toolkit, plain sidebar ==================================================
# On disk one "Config" folder serves both C:\Kit\config and C:\Kit\Config.
toolkit=$prefix/drive_c/Kit
toolkit_branding=$toolkit/Config/Vexilla

label_sidebar_check() {
  server_down && vx_set_version "$prefix" win7 && server_up || return 1
  mkdir -p "$toolkit/Vexilla" "$toolkit_branding" && cp "$exe" "$toolkit/Vexilla/" &&
    cp -a "$kit/." "$toolkit_branding/" &&
    printf 'not a program: only its presence counts\r\n' >"$toolkit/CORVID.EXE" &&
    printf '[Config]\r\nDisableSideBarThemes=1\r\n' >"$toolkit/Config/corvid.ini" || return 1
  start_editor 'C:\Kit\Vexilla\vexilla.exe' toolkit || return 1
  expect_states shown 101 110 111 112 120 121 122 123 124 125 126 127 202 && expect_states hidden 100 &&
    expect_boxes 110 'Config:' 111 'Branding Actions:' 112 'Close:' 120 'Common Info' \
      121 'XP OEM Link' 122 'XP OEMINFO.INI' 123 'Vista/7/8 Specific' 124 'Vexilla Now' \
      125 'Remove OS Branding' 127 'Restore Factory Branding' 126 'Save && Close' \
      202 'Northwind Systems'
}

# The pointer over each link shows one cursor (the hand), over a heading or the sidebar's
# background another (the arrow).
hand_cursor_check() {
  local plain hand id shown status=0
  plain=$(drive hover Vexilla 110) && hand=$(drive hover Vexilla 120) || return 1
  [ "$hand" != "$plain" ] || { echo "  the same cursor over a link as over a heading"; return 1; }
  for id in 121 122 123 124 125 126 127; do
    shown=$(drive hover Vexilla "$id") || return 1
    [ "$shown" = "$hand" ] || { echo "  link $id shows cursor $shown, link 120 $hand"; status=1; }
  done
  for id in 101 111 112; do
    shown=$(drive hover Vexilla "$id") || return 1
    [ "$shown" = "$plain" ] || { echo "  control $id shows cursor $shown, the heading $plain"; status=1; }
  done
  return "$status"
}

label_links_check() {
  drive press Vexilla 121 && panel_shown 302 || return 1
  drive press Vexilla 122 && panel_shown 401 || return 1
  drive press Vexilla 123 && panel_shown 502 || return 1
  drive press Vexilla 120 && panel_shown 202
}

label_save_and_close_check() {
  drive settext Vexilla 204 'Kit Model 7' settext Vexilla 401 $'first line\r\nsecond line' || return 1
  drive press Vexilla 126 && editor_ended || return 1
  expect_ini "$toolkit_branding/Vexilla.INI" OSBranding Model 'Kit Model 7' OSBranding Mfgr 'Northwind Systems' &&
    expect_file "$toolkit_branding/oeminfo.ini" \
      expected_support_file 'Northwind Systems' 'Kit Model 7' $'first line\r\nsecond line'
}

check "toolkit, DisableSideBarThemes=1: label sidebar with its captions, task pane hidden" label_sidebar_check
check "toolkit: the hand cursor over every link label, not over headings" hand_cursor_check
check "toolkit: the label links switch between the four panels" label_links_check
check "toolkit: Save && Close saves into Config\\Vexilla and ends the program" label_save_and_close_check

# ==== 4. high DPI ===========================================================================
# The manifest declares the editor DPI aware, so it lays itself out for the screen's DPI
# (twips at LOGPIXELS) instead of being stretched. At each DPI, in each panel and in the label
# sidebar: no control reaches outside the window's client area, no two visible controls
# overlap (Picture1 is the frame behind the sidebar's labels), the window is whole on the
# screen, and the editor used the DPI the screen has (its width follows the DPI).

# layout_here NAME: the driver's layout verb on the editor as it is now; its lines in $work.
layout_here() {
  local out=$work/layout-$dpi-$1.txt
  if ! drive layout Vexilla 101 >"$out" 2>&1; then
    echo "  at $dpi DPI, $1:"
    sed 's/^/    /' "$out"
    return 1
  fi
  grep -qx "dpi $dpi" "$out" || { echo "  the screen is not at $dpi DPI:"; sed 's/^/    /' "$out"; return 1; }
}

# The client width in pixels for the layout's 10890 twips at DPI.
client_width_at() { echo $(((10890 * $1 + 720) / 1440)); }

dpi_layout_check() {
  local status=0 bounds left right width want
  dpi=$1
  server_down && vx_set_dpi "$prefix" "$dpi" && server_up || return 1
  start_editor 'C:\vexilla\vexilla.exe' "dpi-$dpi" || return 1
  bounds=$(drive rect Vexilla) && read -r left _ right _ <<<"$bounds" || return 1
  width=$((right - left))
  want=$(client_width_at "$dpi")
  # The frame adds a few pixels on each side, never a tenth of the width.
  if [ "$width" -lt "$want" ] || [ "$width" -gt $((want + want / 10)) ]; then
    echo "  at $dpi DPI the window is $width pixels wide; its client area should be $want"
    status=1
  fi
  layout_here common || status=1
  task_item 1 2 && panel_shown 302 && layout_here xp-oem-link || status=1
  task_item 1 3 && panel_shown 401 && layout_here xp-oeminfo-ini || status=1
  task_item 1 4 && panel_shown 502 && layout_here vista-7-8 || status=1
  close_editor || return 1
  start_editor 'C:\Kit\Vexilla\vexilla.exe' "dpi-$dpi-toolkit" || return 1
  drive wait-state Vexilla 120 shown 5000 >/dev/null && layout_here label-sidebar || status=1
  close_editor || return 1
  return "$status"
}

# The declaration itself, read from vexilla.exe as the system reads it (an activation context):
# Wine 8 gives an unaware program the screen's DPI too, so the layouts alone cannot show it.
dpi_aware_check() {
  local value
  value=$(drive manifest-setting 'C:\vexilla\vexilla.exe' \
    http://schemas.microsoft.com/SMI/2005/WindowsSettings dpiAware) || return 1
  [ "$value" = true ] || { echo "  the manifest gives dpiAware '$value', expected true"; return 1; }
}

check "the manifest declares the editor DPI aware (dpiAware true, as the system reads it)" dpi_aware_check
check "96 DPI: the window is laid out for 96 DPI, no control clipped or overlapping" dpi_layout_check 96
check "120 DPI: the window is laid out for 120 DPI, no control clipped or overlapping" dpi_layout_check 120
check "144 DPI: the window is laid out for 144 DPI, no control clipped or overlapping" dpi_layout_check 144

# ---- 5. a kit in UTF-8 -------------------------------------------------------------------------
unicode_kit=$prefix/drive_c/unicode
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }

unicode_load_check() {
  local pair got status=0
  mkdir -p "$unicode_kit" && cp "$exe" "$unicode_kit/" || return 1
  printf '\xef\xbb\xbf[OSBranding]\r\n; saved by Notepad\r\nMfgr=Müller Systemtechnik\r\nModel=株式会社テスト\r\n[DesktopShortcut]\r\nShortcutURL=https://support.example\r\nShortcutName=Ångström Data\r\n' \
    >"$unicode_kit/Vexilla.INI" || return 1
  start_editor 'C:\unicode\vexilla.exe' unicode || return 1
  for pair in '202=Müller Systemtechnik' '204=株式会社テスト' '209=Ångström Data'; do
    got=$(drive gettext-utf8 Vexilla "${pair%%=*}") || return 1
    [ "$got" = "${pair#*=}" ] || { echo "  box ${pair%%=*} shows '$got', expected '${pair#*=}'"; status=1; }
  done
  return "$status"
}

unicode_save_check() {
  local saved support
  drive settext-utf8 Vexilla 204 "$(hex '株式会社テスト 2')" && task_item 3 1 && editor_ended || return 1
  saved=$(head -c 40 "$unicode_kit/Vexilla.INI" | od -An -c | tr -s ' \n' ' ')
  [ "$(head -c 3 "$unicode_kit/Vexilla.INI" | od -An -tx1 | tr -d ' \n')" = efbbbf ] ||
    { echo "  the byte-order mark is gone:$saved"; return 1; }
  grep -q $'^; saved by Notepad\r$' "$unicode_kit/Vexilla.INI" &&
    grep -q $'^Model=株式会社テスト 2\r$' "$unicode_kit/Vexilla.INI" &&
    grep -q $'^ShortcutName=Ångström Data\r$' "$unicode_kit/Vexilla.INI" ||
    { echo "  Vexilla.INI after the save:"; sed 's/^/    /' "$unicode_kit/Vexilla.INI"; return 1; }
  # The support text had no file: the model's characters are beyond the code page, so it is
  # written in UTF-16 with its mark, which Windows' own profile functions read.
  [ "$(head -c 2 "$unicode_kit/oeminfo.ini" | od -An -tx1 | tr -d ' \n')" = fffe ] ||
    { echo "  oeminfo.ini is not UTF-16 with its mark"; return 1; }
  support=$(iconv -f UTF-16 -t UTF-8 "$unicode_kit/oeminfo.ini" | tr -d '\r')
  grep -qx 'Manufacturer=Müller Systemtechnik' <<<"$support" &&
    grep -qx 'Model=株式会社テスト 2' <<<"$support" ||
    { echo "  oeminfo.ini:"; sed 's/^/    /' <<<"$support"; return 1; }
}

check "UTF-8 kit: the boxes show Müller Systemtechnik, 株式会社テスト and Ångström Data whole" \
  unicode_load_check
check "UTF-8 kit: Save and Close keeps the mark, the comment and every character" unicode_save_check

session_cleanup
vx_script_summary editor VX_GUI_KEEP "captured lines in $work, prefix kept: $prefix" "$work" \
  "$prefix"
