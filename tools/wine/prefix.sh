# shellcheck shell=bash
# Prefixes: one template per architecture per run, a cheap clone per test. Sourced by env.sh.

# vx_template win64|win32: prints the template's path, making it first when missing or made by
# another wine. Safe to call from parallel tests: one makes it, the others wait on the lock.
vx_template() {
  local arch=$1 dir stamp
  case "$arch" in win64 | win32) ;; *) vx_log "unknown prefix architecture '$arch'"; return 1 ;; esac
  dir=$VX_WINE_RUN_DIR/template-$arch
  # A new wine, or a new way of making templates, makes a new template.
  stamp="vx-template-2 $arch $(wine --version 2>/dev/null)"
  mkdir -p "$VX_WINE_RUN_DIR" || return 1
  (
    flock 9 || exit 1
    [ "$(cat "$dir/.vx-template" 2>/dev/null)" = "$stamp" ] && exit 0
    vx_server_kill "$dir"
    rm -rf "$dir" "$dir.new"
    vx_log "making the $arch template prefix in $dir"
    # WINEARCH only counts when the prefix is made; later runs read it from the prefix.
    WINEPREFIX=$dir.new WINEARCH=$arch timeout "$(vx_scaled 600)" wineboot -i >"$dir.log" 2>&1 &&
      vx_server_wait "$dir.new" || {
      vx_log "wineboot failed for $dir.new (see $dir.log)"
      vx_server_kill "$dir.new"
      exit 1
    }
    [ -f "$dir.new/system.reg" ] && [ -f "$dir.new/drive_c/windows/system32/kernel32.dll" ] ||
      { vx_log "wineboot left an incomplete prefix in $dir.new"; exit 1; }
    # Wine links Desktop, Documents and the like to $HOME: programs under test must write
    # inside the prefix, never into the home of whoever runs the tests.
    local link
    while IFS= read -r -d '' link; do
      rm -f "$link" && mkdir -p "$link" || exit 1
    done < <(find "$dir.new/drive_c/users" -type l -print0)
    # Debian's Wine uses its own MS Sans Serif, Tahoma and Marlett only from the prefix's
    # Fonts folder; without them windows fall back to other faces and caption buttons break.
    if [ -d /usr/share/wine/fonts ]; then
      cp /usr/share/wine/fonts/* "$dir.new/drive_c/windows/Fonts/" || exit 1
    fi
    _vx_shared_manifest "$dir.new" >"$dir.new/.vx-shared" || exit 1
    printf '%s\n' "$stamp" >"$dir.new/.vx-template"
    mv "$dir.new" "$dir"
  ) 9>"$VX_WINE_RUN_DIR/.template-$arch.lock" || return 1
  printf '%s\n' "$dir"
}

# Path, size and modification time of every file a template shares with its clones.
_vx_shared_manifest() {
  (cd "$1" && find drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs \
    -type f -printf '%p\t%s\t%T@\n' 2>/dev/null | LC_ALL=C sort)
}

# vx_template_check [win64|win32...]: fails, naming the files, when a clone has written through
# a hard link into a template (an overwrite of a file that came with the prefix). The damaged
# template is marked stale so that the next vx_template makes a new one.
vx_template_check() {
  local arches=("$@") arch dir changed status=0
  [ $# -gt 0 ] || arches=(win64 win32)
  for arch in "${arches[@]}"; do
    dir=$VX_WINE_RUN_DIR/template-$arch
    [ -f "$dir/.vx-shared" ] || continue
    changed=$(_vx_shared_manifest "$dir" | LC_ALL=C comm -3 "$dir/.vx-shared" -) || return 1
    [ -z "$changed" ] && continue
    vx_log "a test wrote into the shared system files of $dir:"
    printf '%s\n' "$changed" >&2
    rm -f "$dir/.vx-template"
    status=1
  done
  return "$status"
}

# vx_clone TEMPLATE DEST: a private copy of TEMPLATE in about 0.2 s. The three big system
# folders are hard-linked, everything else copied. Never hard-link more: wineserver rewrites
# system.reg in place and Wine's CopyFile truncates an existing target in place, so a shared
# inode would carry a test's writes back into the template. Adding or deleting files in the
# linked folders is safe (the folders themselves are new); overwriting a file that came from the
# template is not. Also copies the harness tools into C:\vxtools.
vx_clone() {
  local template=$1 dest=$2 level entry name
  if [ -e "$dest" ]; then
    vx_server_kill "$dest"
    rm -rf "$dest" || return 1
  fi
  mkdir -p "$dest" && dest=$(cd "$dest" && pwd) || return 1
  (
    cd "$template" || exit 1
    for level in . drive_c drive_c/windows; do
      while IFS= read -r -d '' entry; do
        name=${entry#./}
        case "$name" in
          drive_c | drive_c/windows) mkdir "$dest/$name" ;;
          drive_c/windows/system32 | drive_c/windows/syswow64 | drive_c/windows/winsxs)
            cp -al "$name" "$dest/$name" ;;
          *) cp -a "$name" "$dest/$name" ;;
        esac || exit 1
      done < <(find "$level" -mindepth 1 -maxdepth 1 -print0)
    done
  ) || return 1
  vx_install_tools "$dest"
}

# Copies the built harness tools (dbgcapture.exe, exitwith.exe, uidriver.exe) into PREFIX's C:\vxtools.
vx_install_tools() {
  local tool found=0
  mkdir -p "$1/drive_c/vxtools" || return 1
  for tool in dbgcapture exitwith uidriver subinacl-stub; do
    if [ -f "$VX_BUILD_DIR/tools/$tool.exe" ]; then
      cp "$VX_BUILD_DIR/tools/$tool.exe" "$1/drive_c/vxtools/" || return 1
      found=1
    fi
  done
  [ "$found" -eq 1 ] || vx_log "no tools in $VX_BUILD_DIR/tools (build the cross targets dbgcapture exitwith)"
}

# vx_new_prefix win64|win32 NAME: a fresh clone at $VX_WINE_RUN_DIR/prefixes/NAME; prints its path.
vx_new_prefix() {
  local template dest=$VX_WINE_RUN_DIR/prefixes/$2
  template=$(vx_template "$1") || return 1
  vx_clone "$template" "$dest" || { vx_log "cannot clone $template to $dest"; return 1; }
  printf '%s\n' "$dest"
}

# vx_userreg_set PREFIX KEY NAME [DATA]: sets the string value NAME of HKCU\KEY to DATA, or
# removes it when DATA is absent, by editing user.reg. The server keeps the registry in memory
# and writes it back on exit, so this first waits for the prefix's server to end.
vx_userreg_set() {
  local data=${4-}
  data=${data//\\/\\\\}
  data=${data//\"/\\\"}
  if [ $# -ge 4 ]; then
    _vx_userreg_edit "$1" "$2" "$3" "\"$3\"=\"$data\""
  else
    _vx_userreg_edit "$1" "$2" "$3"
  fi
}

# vx_userreg_set_dword PREFIX KEY NAME NUMBER: the same for a DWORD value.
vx_userreg_set_dword() {
  _vx_userreg_edit "$1" "$2" "$3" "$(printf '"%s"=dword:%08x' "$3" "$4")"
}

# vx_set_dpi PREFIX DPI: the screen's DPI (96, 120, 144, ...) for the next server of PREFIX.
vx_set_dpi() { vx_userreg_set_dword "$1" 'Control Panel\Desktop' LogPixels "$2"; }

# _vx_userreg_edit PREFIX KEY NAME [LINE]: puts LINE (a value line of the .reg format) in place
# of value NAME of HKCU\KEY, or removes the value without LINE.
_vx_userreg_edit() {
  local prefix=$1 reg=$1/user.reg key=$2
  [ -f "$reg" ] || { vx_log "no $reg"; return 1; }
  vx_server_wait "$prefix" || return 1
  key=${key//\\/\\\\}
  # Through the environment: awk -v would undo the doubled backslashes of the .reg format.
  VX_KEY="[$key] " VX_NAME="\"$3\"=" VX_LINE="${4-}" \
    VX_REMOVE=$(($# < 4)) VX_NOW=$(date +%s) awk '
    BEGIN { key = tolower(ENVIRON["VX_KEY"]); name = tolower(ENVIRON["VX_NAME"])
            line = ENVIRON["VX_LINE"]; remove = ENVIRON["VX_REMOVE"] + 0 }
    function finish() { if (inkey && !remove) print line; inkey = 0 }
    /^\[/ {
      finish()
      if (index(tolower($0), key) == 1) { inkey = 1; found = 1 }
      print; next
    }
    inkey && index(tolower($0), name) == 1 { next }
    { print }
    END {
      finish()
      if (!found && !remove) { print ""; print ENVIRON["VX_KEY"] ENVIRON["VX_NOW"]; print line }
    }' "$reg" >"$reg.vx-new" && mv "$reg.vx-new" "$reg"
}

# vx_set_version PREFIX VERSION [EXE]: what GetVersionExA reports from the next process on, for
# every program or only for EXE (e.g. vexilla.exe). VERSION is a Wine name (winxp, vista, win8,
# win2003, ...); "win7" or "" mean no value, which is Windows 7 workstation (Wine's own "win7"
# reports a server).
vx_set_version() {
  local key='Software\Wine'
  [ -z "${3-}" ] || key="Software\\Wine\\AppDefaults\\$3"
  vx_expected_version "$2" >/dev/null || return 1
  case "$2" in
    '' | win7) vx_userreg_set "$1" "$key" Version ;;
    *) vx_userreg_set "$1" "$key" Version "$2" ;;
  esac
}

# vx_gui_desktop PREFIX [WxH]: a virtual desktop with window frames, for runs under Xvfb. Call
# it before starting X; it ends the prefix's server, as a server started without a display
# makes GUI runs hang.
vx_gui_desktop() {
  vx_userreg_set "$1" 'Software\Wine\Explorer' Desktop Default &&
    vx_userreg_set "$1" 'Software\Wine\Explorer\Desktops' Default "${2:-1024x768}"
}
