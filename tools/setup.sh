#!/usr/bin/env bash
# tools/setup.sh: makes a Debian 12 machine ready to build Vexilla and run it under Wine.
# Both quick-start commands (run.sh, test.sh) call it first. Idempotent: on a machine that is
# ready it changes nothing and takes well under a second.
#
#   1. installs the missing Debian packages (i386 added as a foreign architecture for wine32);
#   2. checks that 32-bit x86 Linux programs run: Wine starts every 32-bit Windows program
#      through its 32-bit loader. Some kernels refuse them ("32-bit emulation disabled"); there
#      it sets up user-mode emulation instead:
#        - the bookworm-backports suite, from the mirror the machine's apt sources already name
#          (bookworm's own qemu 7.2 cannot map Wine's shared user data, or needs a minute per
#          process when told to reserve the address space);
#        - qemu-user-static from that suite;
#        - binfmt_misc mounted, and the i386 ELF handler registered with flag F (the kernel
#          opens the interpreter once, so it works in every mount namespace);
#        - then proves it by running the 32-bit loader.
#   3. prints one line saying how 32-bit programs run here: "native" or "emulated".
#
# As a user other than root it changes nothing: it prints the exact commands to run as root and
# fails when something is missing.
#   VX_SETUP_QUIET=1  print only the closing line and errors
set -u

# clang and its runtime libraries (libFuzzer, the sanitizers) build the fuzz tier.
packages=(wine wine32:i386 wine64 g++-mingw-w64-i686 xvfb xauth imagemagick cmake g++ make googletest
  clang libclang-rt-14-dev)
backports_list=/etc/apt/sources.list.d/vexilla-bookworm-backports.sources
loader32=/lib/ld-linux.so.2
binfmt_dir=/proc/sys/fs/binfmt_misc
handler=qemu-i386
qemu=/usr/bin/qemu-i386-static
# i386 ELF executables and shared objects (e_type 2 or 3), any OS ABI byte that Linux accepts.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

is_root=0
[ "$(id -u)" -eq 0 ] && is_root=1
say() { [ "${VX_SETUP_QUIET:-0}" = 1 ] || printf 'setup: %s\n' "$*"; }
fail() { printf 'setup: %s\n' "$*" >&2; exit 1; }

# run_or_print COMMAND...: runs it as root; otherwise adds it to the list printed at the end.
todo=()
run_or_print() {
  if [ "$is_root" -eq 1 ]; then
    "$@"
  else
    todo+=("$(printf '%q ' "$@")")
    return 0
  fi
}

# write_or_print TEXT FILE: writes TEXT into FILE (a system file) as root; otherwise adds the
# command that would to the list printed at the end.
write_or_print() {
  if [ "$is_root" -eq 1 ]; then
    printf '%s' "$1" >"$2"
  else
    todo+=("printf '%s' $(printf '%q' "$1") > $2")
  fi
}

apt_updated=0
apt_update() {
  [ "$apt_updated" -eq 0 ] || return 0
  run_or_print apt-get update -q && apt_updated=1
}

apt_install() {
  DEBIAN_FRONTEND=noninteractive run_or_print apt-get install -y -q "$@"
}

# ---- 1. packages ---------------------------------------------------------------------------
install_packages() {
  local missing=() p
  command -v dpkg >/dev/null || fail "not a Debian system: install ${packages[*]} by hand"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    say "adding i386 as a foreign architecture"
    run_or_print dpkg --add-architecture i386 || fail "dpkg --add-architecture i386 failed"
    apt_updated=0
    missing=("${packages[@]}")
  else
    for p in "${packages[@]}"; do
      dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
  fi
  [ "${#missing[@]}" -gt 0 ] || return 0
  say "missing packages: ${missing[*]}"
  apt_update || fail "apt-get update failed"
  # With their recommended packages: Wine's own fonts (fonts-wine) and X libraries come that way.
  apt_install "${missing[@]}" || fail "installing ${missing[*]} failed"
}

# ---- 2. 32-bit x86 programs ----------------------------------------------------------------
runs_32bit() { "$loader32" --version >/dev/null 2>&1; }

# The URI of the machine's own Debian archive: the first deb822 or one-line entry for bookworm.
debian_mirror() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "$backports_list" ] || continue
    awk 'function flush() { if (ok && uri != "" && !done) { print uri; done = 1; exit } ok = 0; uri = "" }
         /^[ \t]*$/ { flush(); next }
         $1 == "URIs:" { uri = $2 }
         $1 == "Suites:" { for (i = 2; i <= NF; i++) if ($i == "bookworm") ok = 1 }
         END { flush() }' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk '$1 == "deb" { sub(/\[[^]]*\][ \t]*/, ""); if ($3 == "bookworm") { print $2; exit } }' "$f"
  done
}

add_backports() {
  local mirror
  [ -f "$backports_list" ] && return 0
  mirror=$(debian_mirror | head -n 1)
  [ -n "$mirror" ] || fail "no bookworm entry in the apt sources to take the mirror from"
  say "adding bookworm-backports from $mirror"
  write_or_print "Types: deb
URIs: $mirror
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
" "$backports_list" || fail "cannot write $backports_list"
  apt_updated=0
}

# qemu 8 and later map Wine's shared user data; bookworm's own 7.2 does not.
qemu_is_recent() {
  local v
  v=$(dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null) || return 1
  v=${v#*:}
  [ "${v%%.*}" -ge 8 ] 2>/dev/null
}

install_qemu() {
  qemu_is_recent && return 0
  add_backports
  apt_update || fail "apt-get update failed"
  say "installing qemu-user-static from bookworm-backports"
  apt_install -t bookworm-backports qemu-user-static || fail "installing qemu-user-static failed"
  [ "$is_root" -eq 0 ] || [ -x "$qemu" ] || fail "qemu-user-static brought no $qemu"
}

register_handler() {
  if [ ! -e "$binfmt_dir/register" ]; then
    say "mounting binfmt_misc"
    run_or_print mount -t binfmt_misc binfmt_misc "$binfmt_dir" || fail "cannot mount binfmt_misc"
  fi
  # Ours is switched back on if it was switched off; a handler of that name left by an older
  # qemu (or one without flag F) is replaced.
  if [ -e "$binfmt_dir/$handler" ]; then
    if grep -qx "interpreter $qemu" "$binfmt_dir/$handler" && grep -q '^flags:.*F' "$binfmt_dir/$handler"; then
      grep -qx enabled "$binfmt_dir/$handler" && return 0
      say "enabling the $handler handler"
      write_or_print 1 "$binfmt_dir/$handler" || fail "cannot enable the $handler handler"
      return 0
    fi
    say "replacing the $handler handler"
    write_or_print -1 "$binfmt_dir/$handler" || fail "cannot remove the old $handler handler"
  fi
  say "registering $qemu for i386 programs"
  write_or_print ":$handler:M::$magic:$mask:$qemu:F" "$binfmt_dir/register" ||
    fail "cannot register the $handler handler"
}

how_32bit_runs() {
  local line
  if [ -r "$binfmt_dir/$handler" ] && grep -qx enabled "$binfmt_dir/$handler"; then
    line=$("$qemu" --version 2>/dev/null | head -n 1)
    echo "emulated (${line:-qemu-i386}, binfmt_misc)"
  else
    echo native
  fi
}

install_packages
if [ "$is_root" -eq 0 ] && [ ! -e "$loader32" ]; then
  # Whether this kernel runs 32-bit programs shows only once wine32 has brought the loader.
  todo+=("# then run $0 again: it checks whether 32-bit programs run here")
elif ! runs_32bit; then
  say "32-bit x86 programs do not run natively here: setting up user-mode emulation"
  install_qemu
  register_handler
fi

if [ "${#todo[@]}" -gt 0 ]; then
  printf 'setup: not root, so nothing was changed. As root, run:\n' >&2
  printf '  %s\n' "${todo[@]}" >&2
  exit 1
fi
runs_32bit || fail "32-bit x86 programs still do not run ($loader32 --version fails)"
echo "32-bit x86 programs run here: $(how_32bit_runs)"
