# shellcheck shell=bash
# A key and everything below it as a saved hive (system.reg, user.reg) holds it, in a form two
# runs or an expected block can be compared with line by line. The server keeps the registry in
# memory: end it first (vx_server_kill saves the hive; vx_server_wait waits for the save).

# hive_tree FILE KEY: every value of KEY (as stored: HKLM\Software\X is Software\X in
# system.reg, HKCR\CLSID\{g} is Software\Classes\CLSID\{g}) and of each key below it, one line
# each, "[RELATIVE] VALUE-LINE" with RELATIVE empty for KEY itself and the value line exactly as
# in the file ("Name"="text", @=str(2):"...", "D"=dword:00000000); a key the file lists without
# values gives "[RELATIVE]" alone (Wine lists only keys with values or without subkeys). Sorted
# bytewise; prints nothing when the file lacks KEY and every key below it.
hive_tree() {
  local key=$2
  VX_KEY=${key//\\/\\\\} awk '
    BEGIN { want = tolower(ENVIRON["VX_KEY"]) }
    /^\[/ {
      path = $0
      sub(/^\[/, "", path)
      sub(/\]( [0-9]+)?$/, "", path)
      low = tolower(path)
      inside = 0
      if (low == want) { rel = ""; inside = 1 }
      else if (index(low, want "\\\\") == 1) { rel = substr(path, length(want) + 3); inside = 1 }
      if (inside) {
        gsub(/\\\\/, "\\", rel)
        print "[" rel "]"
      }
      next
    }
    inside && /^(@|")/ { print "[" rel "] " $0 }' "$1" |
    LC_ALL=C sort |
    # A key header followed by its own values says nothing more than the values do.
    awk '{ if (prev != "" && index($0, prev " ") != 1) print prev
           prev = ($0 ~ /^\[[^]]*\]$/) ? $0 : ""
           if (prev == "") print }
         END { if (prev != "") print prev }'
}

# hive_key_exists FILE KEY: whether the saved hive lists KEY or any key below it.
hive_key_exists() {
  [ -n "$(hive_tree "$1" "$2")" ]
}
