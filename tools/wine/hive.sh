# shellcheck shell=bash
# Reading a saved hive (system.reg, user.reg): a key and everything below it, or the whole file,
# in forms that two runs or an expected block can be compared with line by line. The server
# keeps the registry in memory: end it first (vx_server_kill saves the hive; vx_server_wait
# waits for the save).

# The one reading of a key header, "[KEY] STAMP" (the stamp missing in some files), that every
# function here starts from: hive_key gives KEY as written, backslashes doubled.
_hive_key_awk='
  function hive_key(header, key) {
    key = header
    sub(/^\[/, "", key)
    sub(/\]( [0-9]+)?$/, "", key)
    return key
  }'

# hive_tree FILE KEY: every value of KEY (as stored: HKLM\Software\X is Software\X in
# system.reg, HKCR\CLSID\{g} is Software\Classes\CLSID\{g}) and of each key below it, one line
# each, "[RELATIVE] VALUE-LINE" with RELATIVE empty for KEY itself and the value line exactly as
# in the file ("Name"="text", @=str(2):"...", "D"=dword:00000000); a key the file lists without
# values gives "[RELATIVE]" alone (Wine lists only keys with values or without subkeys). Sorted
# bytewise; prints nothing when the file lacks KEY and every key below it.
hive_tree() {
  local key=$2
  VX_KEY=${key//\\/\\\\} awk "$_hive_key_awk"'
    BEGIN { want = tolower(ENVIRON["VX_KEY"]) }
    /^\[/ {
      path = hive_key($0)
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

# hive_records FILE: the whole saved hive as one "[KEY]" line per key and one "[KEY] LINE" per
# line of its values (KEY as written, backslashes doubled; a hex value continued over several
# lines gives one record per line), time stamps left out, sorted bytewise: two saves of a prefix
# compare line by line (comm). NetworkCards is saved by wineboot but volatile afterwards: it
# would show as removed by every run, so it is left out.
hive_records() {
  awk "$_hive_key_awk"'
    /^\[/ { key = "[" hive_key($0) "]"; skip = key ~ /NetworkCards\]$/
            if (!skip) print key; next }
    skip || /^(#|;;|WINE REGISTRY|$)/ { next }
    { print key " " $0 }' "$1" | LC_ALL=C sort
}

# hive_records_outside KEY...: the records on stdin (from hive_records) that belong neither to
# one of the KEYs (as stored, see hive_tree) nor to a key below it, compared without regard to
# case.
hive_records_outside() {
  local key keys=''
  # Keys as the records write them: backslashes doubled.
  for key in "$@"; do keys+="${key//\\/\\\\}"$'\n'; done
  VX_KEYS=$keys awk '
    BEGIN { n = split(ENVIRON["VX_KEYS"], keys, "\n") - 1
            for (i = 1; i <= n; i++) keys[i] = "[" tolower(keys[i]) }
    { line = tolower($0)
      for (i = 1; i <= n; i++) {
        after = substr(line, length(keys[i]) + 1, 1)
        if (index(line, keys[i]) == 1 && (after == "]" || after == "\\")) next
      }
      print }'
}
