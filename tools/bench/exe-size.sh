#!/usr/bin/env bash
# tools/bench/exe-size.sh [BUILD_DIR]: what each part of vexilla.exe costs, from the link map
# the cross build writes beside it (BUILD_DIR/vexilla.map; default build/win32).
#
# Counts the bytes of every input section that lands in a section of the file (code, read-only
# data, data, unwind tables, imports, resources), grouped by where it came from: each of the
# program's libraries, the C++ standard library, libgcc, the MinGW C runtime, the import thunks
# of the system DLLs and the resources. What the parts do not explain (PE headers, relocations,
# alignment padding) shows as "linker-made". A benchmark: it prints figures, asserts nothing.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../../build/win32}
map=$build/vexilla.map
exe=$build/vexilla.exe
[ -f "$map" ] && [ -f "$exe" ] || { echo "no $map or $exe: run the cross build first" >&2; exit 1; }

# Object files of src/app are linked into the exe's own target beside the editor window's.
app_objects=$(cd "$here/../../src/app" && ls -- *.cpp | sed 's/$/.obj/' | tr '\n' ' ')
file_bytes=$(stat -c %s "$exe")

awk -v app="$app_objects" -v total="$file_bytes" '
  BEGIN {
    n = split(app, list, " "); for (i = 1; i <= n; i++) is_app[list[i]] = 1
    split(".text .data .rdata .eh_frame .pdata .idata .CRT .tls .rsrc", keep, " ")
    for (i in keep) loaded[keep[i]] = 1
  }
  function part(file,    member, lib) {
    if (file ~ /\.res\)?$/) return "resources (icon, manifest, version)"
    if (match(file, /objects\.a\(/)) {
      member = substr(file, RSTART + RLENGTH); sub(/\)$/, "", member)
      return (member in is_app) ? "src/app (WinMain, icon)" : "src/ui/win32 (editor window)"
    }
    if (match(file, /libvexilla_[a-z0-9]+\.a/)) {
      lib = substr(file, RSTART + 11, RLENGTH - 13)
      return (lib == "win32") ? "src/platform/win32 (real backend)" : \
             (lib == "platform") ? "src/platform (seam)" : "src/" lib
    }
    if (file ~ /libstdc\+\+\.a/) return "libstdc++ (C++ standard library)"
    if (file ~ /libgcc(_eh)?\.a/) return "libgcc (helpers, unwinder)"
    if (file ~ /(libmingw32|libmingwex|libmsvcrt[a-z0-9-]*|libmoldname)\.a|crt2\.o|crtbegin\.o|crtend\.o/)
      return "MinGW C runtime"
    if (file ~ /\/lib(wbem)?uuid\.a\(/) return "GUID constants (libuuid, libwbemuuid)"
    # The delay-loaded DLLs come from lib<dll>-delay.a in the build tree (cmake/DelayLoad.cmake).
    if (file ~ /(^|\/)lib[a-z0-9_]+(-delay)?\.a\(/) return "system DLL import thunks"
    return "other"
  }
  function add(size, file) { if (out in loaded && size > 0) bytes[part(file)] += size }
  /^Linker script and memory map/ { in_map = 1; next }
  !in_map { next }
  # An output section starts in the first column.
  /^[.\/]/ { out = $1; pending = ""; next }
  # An input section on one line: " .name 0xADDR 0xSIZE file"
  /^ [^ ]/ && NF >= 4 && $2 ~ /^0x/ && $3 ~ /^0x/ { add(strtonum_hex($3), $4); pending = ""; next }
  # ...or its name alone, with address, size and file on the next line.
  /^ [^ ]/ && NF == 1 { pending = $1; next }
  pending != "" && NF >= 3 && $1 ~ /^0x/ && $2 ~ /^0x/ && $3 !~ /^0x/ { add(strtonum_hex($2), $3) }
  { pending = "" }
  function strtonum_hex(text,    i, c, value) {
    value = 0; text = tolower(substr(text, 3))
    for (i = 1; i <= length(text); i++) value = value * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
    return value
  }
  END {
    for (p in bytes) { sum += bytes[p]; printf "%d\t%s\n", bytes[p], p }
    printf "%d\t%s\n", total - sum, "linker-made (headers, relocations, padding)"
  }' "$map" | sort -rn -t"$(printf '\t')" -k1,1 |
  awk -F'\t' -v total="$file_bytes" '
    { printf "%-46s %9d  %5.1f %%\n", $2, $1, 100 * $1 / total }
    END { printf "%-46s %9d  (%.2f MiB)\n", "vexilla.exe", total, total / 1048576 }'
