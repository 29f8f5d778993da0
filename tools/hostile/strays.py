#!/usr/bin/env python3
"""The judging half of tools/hostile/run.sh (standard library only).

strays.py files NAMES BEFORE AFTER PATTERN...
    BEFORE and AFTER list drive_c's files ("path<TAB>size<TAB>mtime", paths relative to
    drive_c). Prints "added|changed|removed PATH" for each difference no PATTERN allows.
    PATTERN is a path compared without regard to case; "*" matches anything; {ICON} and
    {SHORTCUT} stand for the icon names and the ShortcutName of NAMES (names.txt of the kit),
    each as the profile functions read it and only when that is a plain name; a "new:"
    pattern allows only a file that BEFORE lacks.
strays.py registry - BEFORE AFTER KEY...
    BEFORE and AFTER hold hive records ("FILE [KEY] LINE", see hive_records). Prints
    "added|removed RECORD" for each difference outside every KEY (as system.reg stores it).
strays.py table RESULTS SECONDS
    The table of a batch from RESULTS/*.tsv: one line per kit and Windows version, then the
    figures per family. Exits 1 when a run crashed, hung, showed a window or wrote a stray.
"""

import fnmatch
import glob
import os
import sys

ICON_KEYS = ("ShortcutIcon", "ButtonIcon", "DropDesktopShortcutIcon")


def plain(name):
    return (name.strip() != "" and name not in (".", "..") and not any(c in name for c in "\\/:\0")
            and not name.endswith((".", " ")))


def as_profile_reads(value):
    """The value as the profile functions hand it to the program: surrounding blanks cut, one
    pair of matching quotes around it dropped, and the bytes 0x80-0x9F that names.txt holds as
    Latin-1 read in code page 1252, as Windows reads the kit (its undefined bytes stay)."""
    value = value.strip(" \t")
    if len(value) >= 2 and value[0] == value[-1] and value[0] in "\"'":
        value = value[1:-1]
    out = []
    for c in value:
        if 0x80 <= ord(c) <= 0x9F:
            try:
                c = bytes([ord(c)]).decode("cp1252")
            except UnicodeDecodeError:
                pass
        out.append(c)
    return "".join(out)


def read_names(path):
    icons, shortcuts = set(), set()
    if path != "-":
        with open(path, encoding="utf-8", errors="surrogateescape") as f:
            for line in f:
                key, _, value = line.rstrip("\n").partition("=")
                value = as_profile_reads(value)
                if not plain(value):
                    continue
                if key in ICON_KEYS:
                    icons.add(value.lower())
                elif key == "ShortcutName":
                    shortcuts.add(value.lower())
    return icons, shortcuts


def read_files(path):
    out = {}
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        for line in f:
            name, _, rest = line.rstrip("\n").partition("\t")
            out[name] = rest
    return out


def allowed(path, existed, patterns, icons, shortcuts):
    low = path.lower()
    for pattern in patterns:
        only_new = pattern.startswith("new:")
        if only_new:
            pattern = pattern[4:]
            if existed:
                continue
        pattern = pattern.lower()
        if "{ICON}".lower() in pattern:
            if any(low == pattern.replace("{icon}", name) for name in icons):
                return True
        elif "{SHORTCUT}".lower() in pattern:
            if any(low == pattern.replace("{shortcut}", name) for name in shortcuts):
                return True
        elif fnmatch.fnmatchcase(low, pattern):
            return True
    return False


def files(names, before_path, after_path, patterns):
    icons, shortcuts = read_names(names)
    before, after = read_files(before_path), read_files(after_path)
    for path in sorted(set(before) | set(after)):
        if before.get(path) == after.get(path):
            continue
        what = "added" if path not in before else "removed" if path not in after else "changed"
        if not allowed(path, path in before, patterns, icons, shortcuts):
            print(what, path)


def record_key(record):
    # "system.reg [Software\\\\X] line": the key between the first "[" and its "]".
    start = record.index("[") + 1
    return record[start:record.index("]", start)].replace("\\\\", "\\").lower()


def registry(before_path, after_path, keys):
    keys = [k.lower() for k in keys]

    def inside(record):
        key = record_key(record)
        return any(key == k or key.startswith(k + "\\") for k in keys)

    def read(path):
        with open(path, encoding="utf-8", errors="surrogateescape") as f:
            return set(line.rstrip("\n") for line in f)

    before, after = read(before_path), read(after_path)
    for record in sorted(after - before):
        if not inside(record):
            print("added", record)
    for record in sorted(before - after):
        if not inside(record):
            print("removed", record)


def table(results, seconds):
    rows = []
    for path in sorted(glob.glob(os.path.join(results, "*.tsv"))):
        with open(path, encoding="utf-8") as f:
            rows.extend(line.rstrip("\n").split("\t") for line in f if line.strip())
    errors = sorted(glob.glob(os.path.join(results, "*.error")))
    kits = {}
    for family, kit, version, switch, code, took, crash, hang, window, strays in rows:
        kits.setdefault((kit, version), (family, []))[1].append(
            (switch, code, took, crash, hang, window, int(strays)))
    print("%-20s %-6s %s" % ("kit", "shows", "per run: switch exit-code [CRASH] [HANG] [WINDOW] "
                             "[strays N]; the registry is judged once per kit"))
    families = {}
    bad = False
    runs = 0
    for (kit, version), (family, results_of_kit) in sorted(kits.items()):
        cells = []
        figures = families.setdefault(family, {"kits": set(), "runs": 0, "crashes": 0, "hangs": 0,
                                               "windows": 0, "strays": 0})
        figures["kits"].add(kit)
        for switch, code, took, crash, hang, window, strays in results_of_kit:
            flags = []
            if crash == "yes":
                flags.append("CRASH")
                figures["crashes"] += 1
            if hang == "yes":
                flags.append("HANG")
                figures["hangs"] += 1
            if window == "yes":
                flags.append("WINDOW")
                figures["windows"] += 1
            if strays:
                flags.append("strays %d" % strays)
                figures["strays"] += strays
            if code.startswith("rc"):
                # No code file: dbgcapture itself could not run the program.
                flags.append("HARNESS")
                figures.setdefault("harness", 0)
                figures["harness"] += 1
            if switch == "registry":
                # The code field names the switches that wrote the registry's strays.
                writers = " (written by %s)" % code if strays and code != "-" else ""
                cells.append("registry " + (" ".join(flags) or "ok") + writers)
            else:
                figures["runs"] += 1
                runs += 1
                cells.append(" ".join([switch, code] + flags))
            bad = bad or bool(flags)
        print("%-20s %-6s %s" % (kit, version, " | ".join(cells)))
    print()
    print("%-14s %5s %5s %8s %6s %8s %13s" % ("family", "kits", "runs", "crashes", "hangs",
                                           "windows", "stray writes"))
    total = {"kits": 0, "runs": 0, "crashes": 0, "hangs": 0, "windows": 0, "strays": 0}
    for family, f in sorted(families.items()):
        print("%-14s %5d %5d %8d %6d %8d %13d" % (family, len(f["kits"]), f["runs"], f["crashes"],
                                               f["hangs"], f["windows"], f["strays"]))
        total["kits"] += len(f["kits"])
        for key in ("runs", "crashes", "hangs", "windows", "strays"):
            total[key] += f[key]
    print("%-14s %5d %5d %8d %6d %8d %13d" % ("all", total["kits"], total["runs"],
                                           total["crashes"], total["hangs"], total["windows"],
                                           total["strays"]))
    for path in errors:
        with open(path, encoding="utf-8") as f:
            print("harness error in %s: %s" % (os.path.basename(path), f.read().strip()))
    print("%d runs of %d kit(s) in %s s" % (runs, total["kits"], seconds))
    if errors:
        return 2
    return 1 if bad else 0


def main():
    mode = sys.argv[1] if len(sys.argv) > 1 else ""
    if mode == "files" and len(sys.argv) >= 5:
        files(sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5:])
    elif mode == "registry" and len(sys.argv) >= 5:
        registry(sys.argv[3], sys.argv[4], sys.argv[5:])
    elif mode == "table" and len(sys.argv) == 4:
        sys.exit(table(sys.argv[2], sys.argv[3]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
