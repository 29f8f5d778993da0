# shellcheck shell=bash
# Reading back what a program left in a prefix: registry values and files. Sourced by env.sh.

# vx_reg_query PREFIX 32|64 KEY [reg.exe options...]: "wine reg query" in the given view, CRs
# removed. reg.exe has no way to tell a value that is not set from an empty default, and always
# lists an empty "(Default)": use vx_regfile_get where that matters.
vx_reg_query() {
  local prefix=$1 view=$2 key=$3 rc
  shift 3
  vx_wine "$prefix" reg query "$key" "$@" "/reg:$view" | tr -d '\r'
  rc=${PIPESTATUS[0]}
  return "$rc"
}

# vx_reg_get PREFIX 32|64 KEY NAME: prints the data of one value as reg.exe shows it (a DWORD as
# 0x2a, a binary value as hex digits); returns 1 when the key or value is missing.
vx_reg_get() {
  local out line
  out=$(vx_reg_query "$1" "$2" "$3" /v "$4") || return 1
  while IFS= read -r line; do
    # "    NAME    REG_TYPE    DATA"
    case "$line" in
      "    $4    REG_"*)
        line=${line#"    $4    "}
        case "$line" in *"    "*) printf '%s\n' "${line#*    }" ;; *) printf '\n' ;; esac
        return 0 ;;
    esac
  done <<<"$out"
  return 1
}

# Maps HKLM\..., HKCU\... or HKCR\... to "FILE<TAB>KEY-AS-STORED" for hive_tree (hive.sh).
_vx_regfile_locate() {
  local prefix=$1 key=$2 file
  case "${key%%\\*}" in
    HKLM | HKEY_LOCAL_MACHINE) file=system.reg key=${key#*\\} ;;
    HKCU | HKEY_CURRENT_USER) file=user.reg key=${key#*\\} ;;
    HKCR | HKEY_CLASSES_ROOT) file=system.reg key="Software\\Classes\\${key#*\\}" ;;
    *) vx_log "unsupported root in $key (use HKLM, HKCU or HKCR)"; return 1 ;;
  esac
  printf '%s\t%s\n' "$prefix/$file" "$key"
}

# vx_regfile_get PREFIX KEY NAME: the value exactly as the saved registry holds it, e.g.
# "text" (quotes included, escapes kept), dword:0000002a, str(2):"%SystemRoot%\\x", hex:01,02.
# KEY is the key as stored: a 32-bit program's HKLM\Software\X in a 64-bit prefix is
# HKLM\Software\Wow6432Node\X. NAME "@" is the default value. Waits for the server to save and
# end first (about 3 s after the last process), so not for use while a test keeps one alive.
# Returns 1 when the key or value is missing.
vx_regfile_get() {
  local located
  located=$(_vx_regfile_locate "$1" "$2") || return 1
  vx_server_wait "$1" || return 1
  local name=${3//\\/\\\\}
  name=${name//\"/\\\"}
  hive_tree "${located%%$'\t'*}" "${located#*$'\t'}" | VX_NAME="$name" awk '
    BEGIN { name = ENVIRON["VX_NAME"]
            want = (name == "@") ? "[] @=" : "[] \"" tolower(name) "\"=" }
    !found && index(tolower($0), want) == 1 { print substr($0, length(want) + 1); found = 1 }
    END { exit !found }'
}

# vx_regfile_has_key PREFIX KEY: whether the saved registry holds KEY.
vx_regfile_has_key() {
  local located
  located=$(_vx_regfile_locate "$1" "$2") || return 1
  vx_server_wait "$1" || return 1
  # Only KEY's own lines have an empty relative key.
  hive_tree "${located%%$'\t'*}" "${located#*$'\t'}" |
    awk '/^\[\]/ { found = 1 } END { exit !found }'
}

# vx_unixpath PREFIX WINPATH: the Unix path of C:\... or Z:\... in PREFIX. Each existing
# component is matched without regard to case, as Windows does (C:\Windows\System32 is
# drive_c/windows/system32); components that do not exist are kept as written.
vx_unixpath() {
  local prefix=$1 path=$2 dir part pattern match parts=()
  case "$path" in
    [Cc]:\\*) dir=$prefix/drive_c ;;
    [Zz]:\\*) dir='' ;;
    *) vx_log "not an absolute C: or Z: path: $path"; return 1 ;;
  esac
  # shellcheck disable=SC2141 # the separator is the backslash itself
  IFS='\' read -r -a parts <<<"${path:3}"
  for part in "${parts[@]}"; do
    [ -n "$part" ] || continue
    match=
    if [ ! -e "$dir/$part" ] && [ -d "${dir:-/}" ]; then
      # find's -iname takes a pattern: escape the characters it would read as wildcards.
      # shellcheck disable=SC2001 # one sed is clearer than four substitutions
      pattern=$(sed 's/[][*?\\]/\\&/g' <<<"$part")
      match=$(find "${dir:-/}" -mindepth 1 -maxdepth 1 -iname "$pattern" -printf '%f\n' | head -n 1)
    fi
    dir=$dir/${match:-$part}
  done
  printf '%s\n' "${dir:-/}"
}
