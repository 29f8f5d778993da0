# shellcheck shell=bash
# Expected diagnostic lines, one golden file per scenario in tests/e2e/golden/NAME.lines.
#
# Golden format: one line per debug line, exactly, except that
#   →                  stands for a TAB (as vx_show_lines and run.sh print them)
#   {DATETIME}         the banner's local date and time (any locale's short date and time)
#   {CAPTION}          the version caption, "Vexilla   v<major>.<minor>[.<rev>] " (trailing
#                      space included), from project(VERSION) in CMakeLists.txt
#   {COMMAND}          the command line the scenario passed, without the program's name
#   {WINDOWS}          the Windows the banner names, "Windows 7 (64-bit)": the one the scenario
#                      gave vx_expect_lines, else any name with its bitness
# Everything else, spaces included, must match byte for byte.

VX_GOLDEN_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../golden" && pwd)

# The program's version, "1.0.0", from project(VERSION) in CMakeLists.txt.
vx_program_version() {
  sed -n 's/^project(Vexilla VERSION \([0-9.]*\).*/\1/p' "$VX_REPO_DIR/CMakeLists.txt"
}

# The caption the program builds from its version: the revision shows from 1 on.
vx_version_caption() {
  local version major minor rev
  version=$(vx_program_version)
  IFS=. read -r major minor rev <<<"$version"
  [ -n "$major" ] && [ -n "$minor" ] || { vx_log "no project(Vexilla VERSION ...) in CMakeLists.txt"; return 1; }
  if [ "${rev:-0}" -ge 1 ]; then
    printf 'Vexilla   v%s.%s.%s \n' "$major" "$minor" "$rev"
  else
    printf 'Vexilla   v%s.%s \n' "$major" "$minor"
  fi
}

# A short date, a space and a time, in the forms Windows locales use (1/2/2025, 02.01.2025,
# 2025-01-02; 13:04:05 or 1:04:05 PM).
VX_DATETIME_RE='[0-9]{1,4}[./-][0-9]{1,2}[./-][0-9]{1,4} [0-9]{1,2}[:.][0-9]{2}([:.][0-9]{2})?( ?[AaPp]\.? ?[Mm]\.?)?'

# Any Windows as the banner names it, when the scenario does not say which.
VX_ANY_WINDOWS_RE='(Windows [0-9A-Za-z. ]+|an unknown Windows) \((32|64)-bit\)'

# vx_windows_name VERSION ARCH: the banner's name for a Wine version value (see vx_set_version)
# in a win64 or win32 prefix.
vx_windows_name() {
  local name bits=64
  case "$1" in
    '' | win7) name='Windows 7' ;;
    win2k) name='Windows 2000' ;;
    winxp) name='Windows XP' ;;
    winxp64 | win2003) name='Windows Server 2003' ;;
    vista) name='Windows Vista' ;;
    win8) name='Windows 8' ;;
    win81) name='Windows 8.1' ;;
    win10) name='Windows 10' ;;
    *) vx_log "no known Windows name for '$1'"; return 1 ;;
  esac
  [ "$2" = win64 ] || bits=32
  printf '%s (%s-bit)\n' "$name" "$bits"
}

# Turns one golden line into an anchored extended regular expression.
_vx_golden_regex() {
  local line=$1 command=$2 caption=$3 windows=${4-} literal regex='' token
  # Tokens become control characters first, so that escaping the rest cannot touch them.
  line=${line//'{DATETIME}'/$'\001'}
  line=${line//'{CAPTION}'/$'\002'}
  line=${line//'{COMMAND}'/$'\003'}
  line=${line//'{WINDOWS}'/$'\004'}
  line=${line//→/$'\t'}
  while [ -n "$line" ]; do
    literal=${line%%[$'\001\002\003\004']*}
    regex+=$(printf '%s' "$literal" | sed 's/[][\.*^$+?(){}|]/\\&/g')
    line=${line:${#literal}}
    [ -n "$line" ] || break
    token=${line:0:1}
    line=${line:1}
    case "$token" in
      $'\001') regex+="($VX_DATETIME_RE)" ;;
      $'\002') regex+=$(printf '%s' "$caption" | sed 's/[][\.*^$+?(){}|]/\\&/g') ;;
      $'\003') regex+=$(printf '%s' "$command" | sed 's/[][\.*^$+?(){}|]/\\&/g') ;;
      $'\004')
        if [ -n "$windows" ]; then
          regex+=$(printf '%s' "$windows" | sed 's/[][\.*^$+?(){}|]/\\&/g')
        else
          regex+="($VX_ANY_WINDOWS_RE)"
        fi
        ;;
    esac
  done
  printf '^%s$' "$regex"
}

# vx_expect_lines NAME ACTUAL COMMAND [WINDOWS]: compares the captured lines in ACTUAL (raw bytes,
# code page 1252) with tests/e2e/golden/NAME.lines; WINDOWS is the name {WINDOWS} must be (see
# vx_windows_name). Prints the differences and returns 1 when they differ.
vx_expect_lines() {
  local golden=$VX_GOLDEN_DIR/$1.lines actual=$2 command=$3 windows=${4-} caption n=0 bad=0 regex
  local -a want=() got=()
  [ -f "$golden" ] || { vx_log "no golden file $golden"; return 1; }
  [ -f "$actual" ] || { vx_log "no captured lines in $actual"; return 1; }
  caption=$(vx_version_caption) || return 1
  mapfile -t want <"$golden"
  mapfile -t got < <(iconv -c -f CP1252 -t UTF-8 "$actual")
  while [ "$n" -lt "${#want[@]}" ] || [ "$n" -lt "${#got[@]}" ]; do
    if [ "$n" -ge "${#want[@]}" ]; then
      printf '  line %d: unexpected:  %s\n' $((n + 1)) "${got[n]//$'\t'/→}"
      bad=1
    elif [ "$n" -ge "${#got[@]}" ]; then
      printf '  line %d: missing:     %s\n' $((n + 1)) "${want[n]}"
      bad=1
    else
      regex=$(_vx_golden_regex "${want[n]}" "$command" "$caption" "$windows")
      if ! [[ ${got[n]} =~ $regex ]]; then
        printf '  line %d: expected:    %s\n' $((n + 1)) "${want[n]}"
        printf '  line %d: got:         %s\n' $((n + 1)) "${got[n]//$'\t'/→}"
        bad=1
      fi
    fi
    n=$((n + 1))
  done
  return "$bad"
}
