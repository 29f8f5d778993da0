#!/usr/bin/env bash
# ./run.sh [--version NAME] [ARGS...]
#
# Sets the machine up (tools/setup.sh: packages, and 32-bit emulation where the kernel needs
# it), builds the Release vexilla.exe (cross build in build/win32), installs it with the example
# kit into a fresh 64-bit Wine prefix and runs it there (by default with /autobrand) as a debuggee.
# Shows the diagnostic lines it sent, then what the branding consists of after the run (the OEM
# information values, the OEM link class, the files in System32, the desktop shortcuts), each
# line marked + (added by the run), - (removed by it) or blank (there before), then any other
# registry change and file the run wrote.
#   --version NAME   the Windows the prefix reports (winxp, win7, win8, vista, ...; default win7)
#   VX_BUILD_ROOT    where the builds live (default: build)
set -u
cd "$(dirname "${BASH_SOURCE[0]}")" || exit 1

version=
if [ "${1-}" = --version ]; then
  version=${2:?--version needs a name}
  shift 2
fi
[ $# -gt 0 ] || set -- /autobrand

tools/setup.sh || exit 1
export VX_BUILD_DIR=${VX_BUILD_ROOT:-build}/win32
cmake -S . -B "$VX_BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
cmake --build "$VX_BUILD_DIR" --target vexilla dbgcapture exitwith lnkinfo -j "$(nproc)" || exit 1
VX_BUILD_DIR=$(cd "$VX_BUILD_DIR" && pwd)

source tools/wine/env.sh

prefix=$(vx_new_prefix win64 run) || exit 1
vx_set_version "$prefix" "$version" || exit 1
out=$VX_WINE_RUN_DIR/run.out
rm -rf "$out" && mkdir -p "$out" || exit 1

app_dir=$prefix/drive_c/vexilla
mkdir -p "$app_dir" && cp "$VX_BUILD_DIR/vexilla.exe" "$app_dir/" || exit 1
cp "$VX_BUILD_DIR/tools/lnkinfo.exe" "$prefix/drive_c/vxtools/" || exit 1
if [ -d examples/branding ]; then
  cp -a examples/branding/. "$app_dir/" || exit 1
fi

snapshot() {
  vx_server_wait "$prefix" || return 1
  cp "$prefix/system.reg" "$out/$1.system.reg" || return 1
  hive_records "$prefix/system.reg" >"$out/$1.system"
  hive_records "$prefix/user.reg" >"$out/$1.user"
  (cd "$prefix/drive_c" && find . -printf '%P\n' | LC_ALL=C sort) >"$out/$1.files"
}

# Where the branding lives, as stored in system.reg (a 32-bit program's HKLM\Software and
# HKCR\CLSID writes land in the Wow6432Node keys unless it asks for the 64-bit view).
oem_key='Software\Microsoft\Windows\CurrentVersion\OEMInformation'
link_key='Software\Classes\CLSID\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}'
branding_keys=("$oem_key" 'Software\Wow6432Node\Microsoft\Windows\CurrentVersion\OEMInformation'
               "$link_key" 'Software\Classes\Wow6432Node\CLSID\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}'
               'Software\Vexilla')
backup_folder=ProgramData/Vexilla
desktop=users/Public/Desktop

# marked BEFORE AFTER: the union of two sorted line lists, each line marked "+" (only after),
# "-" (only before) or " " (both).
marked() {
  LC_ALL=C comm <(printf '%s\n' "$1" | sed '/^$/d') <(printf '%s\n' "$2" | sed '/^$/d') |
    awk -F'\t' '{ mark = (NF == 1) ? "-" : (NF == 2) ? "+" : " "; line = $NF
                   sub(/^\[\] /, "", line)
                   print "    " mark " " line }'
}

# show_key TITLE KEY: a branding key and its subkeys, before and after.
show_key() {
  local before after
  before=$(hive_tree "$out/before.system.reg" "$2")
  after=$(hive_tree "$out/after.system.reg" "$2")
  echo "  $1:"
  if [ -z "$before$after" ]; then
    echo "      (not there)"
  else
    marked "$before" "$after"
  fi
}

show_branding() {
  echo
  echo "== OEM information: HKLM\\$oem_key"
  show_key "64-bit view" "${branding_keys[0]}"
  show_key "32-bit view (Wow6432Node)" "${branding_keys[1]}"
  echo
  echo "== OEM link class: HKCR\\${link_key#Software\\Classes\\}"
  show_key "64-bit view" "${branding_keys[2]}"
  show_key "32-bit view (Wow6432Node)" "${branding_keys[3]}"
  echo
  echo "== files in System32 (system32: the 64-bit folder; syswow64: what 32-bit programs see)"
  files_under 'windows/system32/' 'windows/syswow64/'
  echo
  echo "== files in the Windows folder"
  files_under 'windows/[^/]*$'
  echo
  echo "== desktop shortcuts: C:\\${desktop//\//\\}"
  files_under "$desktop/"
  show_shortcuts
  echo
  echo "== Vexilla's own records: the factory backup and the files it placed"
  show_key "HKLM\\Software\\Vexilla" "${branding_keys[4]}"
  echo "  C:\\${backup_folder//\//\\}:"
  files_under "$backup_folder/"
}

# files_under PATTERN...: files added (+), removed (-) or rewritten (*) by the run whose path
# matches one of the extended regular expressions, anchored at the start.
files_under() {
  local pattern regex='' line file
  for pattern in "$@"; do regex+="${regex:+|}^$pattern"; done
  {
    LC_ALL=C comm -13 "$out/before.files" "$out/after.files" | sed 's/^/+ /'
    LC_ALL=C comm -23 "$out/before.files" "$out/after.files" | sed 's/^/- /'
    LC_ALL=C comm -12 "$out/before.files" "$out/after.files" |
      while IFS= read -r file; do
        [ -n "$(find "$prefix/drive_c/$file" -maxdepth 0 -type f -cnewer "$out/started")" ] && echo "* $file"
      done
  } | awk -v re="$regex" '{ path = substr($0, 3) } path ~ re' |
    while IFS= read -r line; do
      file=$prefix/drive_c/${line:2}
      if [ -f "$file" ]; then
        echo "    $line  ($(stat -c %s "$file") bytes)"
      elif [ "${line:0:1}" = - ]; then
        echo "    $line"
      fi
    done | LC_ALL=C sort -k2 | grep . || echo "      (no change)"
}

# The content of each shortcut on the all-users desktop after the run.
show_shortcuts() {
  local file
  for file in "$prefix/drive_c/$desktop"/*.url "$prefix/drive_c/$desktop"/*.lnk; do
    [ -f "$file" ] || continue
    echo "  ${file##*/}:"
    case "$file" in
      *.url) tr -d '\r' <"$file" | sed 's/^/      /' ;;
      *.lnk)
        vx_wine "$prefix" 'C:\vxtools\lnkinfo.exe' "$(vx_winpath "$prefix" "$file")" |
          tr -d '\r' | grep -v '^ShowCommand=' | sed 's/^StoredShowCommand=/ShowCommand=/; s/^/      /' ;;
    esac
  done
}

# Registry lines that are not the branding's and not the churn of Wine's display driver, which
# rewrites its display adapter and monitor classes whenever a program starts it.
noise_keys=('System\CurrentControlSet\Control\Class\{4D36E968-E325-11CE-BFC1-08002BE10318}'
            'System\CurrentControlSet\Control\Class\{4D36E96E-E325-11CE-BFC1-08002BE10318}')
other_registry_lines() { hive_records_outside "${branding_keys[@]}" "${noise_keys[@]}"; }

show_lines() {
  local lines=$out/debug-lines.txt
  echo
  echo "== diagnostic lines: $(wc -l <"$lines") (raw bytes in $lines; a TAB shows as →)"
  # The lines are ANSI (code page 1252 in a default prefix); the terminal wants UTF-8.
  iconv -c -f CP1252 -t UTF-8 "$lines" >"$lines.utf8"
  vx_show_lines "$lines.utf8"
}

show_registry() {
  local hive changes
  for hive in system user; do
    changes=$({
      LC_ALL=C comm -23 "$out/before.$hive" "$out/after.$hive" | other_registry_lines | sed 's/^/    - /'
      LC_ALL=C comm -13 "$out/before.$hive" "$out/after.$hive" | other_registry_lines | sed 's/^/    + /'
    })
    echo
    echo "== other registry changes in $hive.reg (+ added or new value, - removed or old value)"
    printf '%s\n' "${changes:-      (none)}"
  done
}

# Files are compared by change time, which no copy can carry over from its source. The ones
# shown with the branding above are left out.
show_files() {
  echo
  echo "== other files written under C:\\ (in $prefix/drive_c)"
  (cd "$prefix/drive_c" && find . ! -type d -cnewer "$out/started" -printf '%P  (%s bytes)\n' | LC_ALL=C sort) |
    grep -vE "^(windows/system32/|windows/syswow64/|windows/[^/]*  \(|$desktop/|$backup_folder/)" | sed 's/^/    /' | grep . ||
    echo "      (none)"
  echo "== other files removed"
  LC_ALL=C comm -23 "$out/before.files" "$out/after.files" |
    grep -vE "^(windows/system32/|windows/syswow64/|windows/[^/]*$|$desktop/|$backup_folder/)" | sed 's/^/    /' | grep . ||
    echo "      (none)"
}

snapshot before || exit 1
touch "$out/started"
echo "== vexilla.exe $* (prefix $prefix, Windows $(vx_expected_version "$version"))"
vx_capture "$prefix" "$out/debug-lines.txt" 'C:\vexilla\vexilla.exe' "$@"
rc=$?
echo "== exit code: $rc"
snapshot after || exit 1
show_lines
show_branding
show_registry
show_files
exit "$rc"
