#!/usr/bin/env python3
"""make-kits.py OUTDIR: writes broken and hostile branding kits for tools/hostile/run.sh.

Each kit is a folder OUTDIR/kNNN-FAMILY holding
  description.txt  one line: what is wrong with the kit
  names.txt        the names the kit gives ShortcutName, ShortcutIcon, ButtonIcon and
                   DropDesktopShortcutIcon, one "Key=value" a line in UTF-8 (what the runner
                   allows the program to create on the desktop and in the Windows folder)
  kit/             what goes beside vexilla.exe in C:\\vexilla
The list is fixed and every random choice comes from one seeded generator, so kNNN names the
same kit on every run. The example kit of examples/branding is the base every kit starts from.
Only the standard library is used.
"""

import os
import random
import shutil
import struct
import sys

REPO = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
EXAMPLE = os.path.join(REPO, "examples", "branding")
SEED = 20261208
BIG = 64 * 1024

DIR = object()  # a folder where a file is expected


def read(name):
    with open(os.path.join(EXAMPLE, name), "rb") as f:
        return f.read()


LOGO = read("oemlogo.bmp")
ICON = read("support.ico")
OEMINFO = read("oeminfo.ini")

# The example kit's settings as (section, [(key, value)]), values as text.
BASE = [
    ("OSBranding", [
        ("Mfgr", "Northwind Systems"), ("Model", "Northwind Pro 5200"),
        ("Phone", "(555) 555-0142"), ("Hours", "Monday to Friday 8am - 6pm"),
        ("URL", "https://support.example.com/"), ("ButtonName", "Northwind Support"),
        ("ButtonToolTip", "Help from Northwind Systems"),
        ("ButtonAction", "https://support.example.com/"),
        ("ButtonAltAction", "https://www.example.com/drivers/"),
        ("ButtonAltName", "Drivers and Downloads"), ("ButtonIcon", "support.ico")]),
    ("DesktopShortcut", [
        ("ShortcutURL", "https://support.example.com/"), ("ShortcutName", "Northwind Support"),
        ("ShortcutIcon", "support.ico"), ("UseIE", "0")]),
    ("Config", [("DropDesktopShortcutIcon", "support.ico")]),
]
NAME_KEYS = ("ShortcutName", "ShortcutIcon", "ButtonIcon", "DropDesktopShortcutIcon")


def sections(**changes):
    """BASE with keys replaced (key=value) or removed (key=None)."""
    out = []
    for section, keys in BASE:
        kept = []
        for key, value in keys:
            if key in changes:
                if changes[key] is None:
                    continue
                value = changes[key]
            kept.append((key, value))
        out.append((section, kept))
    return out


def ini_text(secs, eol="\r\n"):
    lines = []
    for section, keys in secs:
        lines.append("[" + section + "]")
        lines.extend(k + "=" + v for k, v in keys)
    return eol.join(lines) + eol


def names_of(secs):
    found = []
    for _, keys in secs:
        for key, value in keys:
            if key in NAME_KEYS:
                found.append((key, value))
    return found


class Kits:
    def __init__(self, out):
        self.out = out
        self.number = 0
        self.rng = random.Random(SEED)

    def add(self, family, description, ini=None, names=None, files=None, drop=()):
        """One kit: Vexilla.INI as bytes (or DIR, or None for none), the names the runner
        allows, extra files (name -> bytes or DIR) over the example's, files left out."""
        self.number += 1
        folder = os.path.join(self.out, "k%03d-%s" % (self.number, family))
        kit = os.path.join(folder, "kit")
        os.makedirs(kit)
        content = {"oemlogo.bmp": LOGO, "oeminfo.ini": OEMINFO, "support.ico": ICON}
        if ini is not None:
            content["Vexilla.INI"] = ini
        content.update(files or {})
        for name in drop:
            content.pop(name, None)
        for name, data in content.items():
            path = os.path.join(kit, name)
            if data is DIR:
                os.makedirs(path)
                with open(os.path.join(path, "inside.txt"), "wb") as f:
                    f.write(b"a folder where a file is expected\r\n")
            elif callable(data):
                data(path)
            else:
                with open(path, "wb") as f:
                    f.write(data)
        with open(os.path.join(folder, "description.txt"), "w", encoding="utf-8") as f:
            f.write(description.replace("\n", " ") + "\n")
        with open(os.path.join(folder, "names.txt"), "w", encoding="utf-8",
                  errors="surrogateescape") as f:
            for key, value in names or []:
                f.write(key + "=" + value + "\n")

    def ansi(self, family, description, secs, eol="\r\n", **kw):
        self.add(family, description, ini_text(secs, eol).encode("cp1252", "surrogateescape"),
                 names=names_of(secs), **kw)


def huge(k):
    keys = [key for _, ks in BASE for key, _ in ks]
    for key in keys:
        value = ("%s-" % key) * (BIG // (len(key) + 1) + 1)
        k.ansi("huge", "%s holds a value of 64 KiB" % key, sections(**{key: value[:BIG]}))
    text = ini_text(BASE)
    k.add("huge", "a line of 64 KiB with no equals sign before [OSBranding]",
          ("x" * BIG + "\r\n" + text).encode(), names=names_of(BASE))
    k.add("huge", "a section name of 64 KiB holding every key",
          ("[" + "S" * BIG + "]\r\n" + text).encode(), names=names_of(BASE))
    k.add("huge", "a key name of 64 KiB in [OSBranding]",
          text.replace("[OSBranding]\r\n", "[OSBranding]\r\n" + "K" * BIG + "=v\r\n").encode(),
          names=names_of(BASE))
    k.add("huge", "every value of the kit 64 KiB long",
          ini_text([(s, [(key, (v * (BIG // len(v) + 1))[:BIG]) for key, v in ks])
                    for s, ks in BASE]).encode(),
          names=[(key, (v * (BIG // len(v) + 1))[:BIG]) for key, v in names_of(BASE)])
    k.add("huge", "oeminfo.ini with a support line of 64 KiB",
          ini_text(BASE).encode(), names=names_of(BASE),
          files={"oeminfo.ini": b"[Support Information]\r\nLine1=" + b"L" * BIG + b"\r\n"})


def control(k):
    text = ini_text(BASE).encode()
    k.add("control-bytes", "a NUL byte in the middle of the Mfgr value",
          text.replace(b"Northwind Systems", b"North\0wind Systems", 1), names=names_of(BASE))
    k.add("control-bytes", "a NUL byte right after [OSBranding]",
          text.replace(b"[OSBranding]\r\n", b"[OSBranding]\r\n\0", 1), names=names_of(BASE))
    k.add("control-bytes", "NUL bytes at the start of the file",
          b"\0\0\0\0" + text, names=names_of(BASE))
    k.add("control-bytes", "the file is 4 KiB of NUL bytes", b"\0" * 4096)
    k.add("control-bytes", "a NUL byte inside the section name [DesktopShortcut]",
          text.replace(b"[DesktopShortcut]", b"[Desktop\0Shortcut]"), names=names_of(BASE))
    k.add("control-bytes", "a NUL byte inside ShortcutName",
          text.replace(b"ShortcutName=Northwind Support", b"ShortcutName=North\0wind"),
          names=[("ShortcutName", "North"), ("ShortcutName", "North\0wind"),
                 ("ShortcutIcon", "support.ico"), ("ButtonIcon", "support.ico"),
                 ("DropDesktopShortcutIcon", "support.ico")])
    for key in ("Mfgr", "Model", "URL", "ShortcutName", "ShortcutIcon", "ButtonIcon",
                "ShortcutURL", "Hours"):
        chars = "".join(chr(k.rng.randint(1, 31)) for _ in range(12))
        value = "A" + chars.replace("\r", "\x0b").replace("\n", "\x0c") + "Z"
        secs = sections(**{key: value})
        k.ansi("control-bytes", "%s holds control bytes %s" % (key, value.encode("unicode_escape")
                                                                .decode()), secs)
    for key in ("Mfgr", "ShortcutName", "ShortcutIcon"):
        value = "".join(chr(k.rng.randint(0x7f, 0xff)) for _ in range(16))
        secs = sections(**{key: value})
        k.add("control-bytes", "%s holds random bytes 0x7F-0xFF" % key,
              ini_text(secs).encode("latin-1"), names=names_of(secs))
    noise = bytes(k.rng.randint(0, 255) for _ in range(2048))
    k.add("control-bytes", "the file is 2 KiB of random bytes", noise)
    k.add("control-bytes", "random bytes after a complete kit", text + noise,
          names=names_of(BASE))
    k.add("control-bytes", "oeminfo.ini of random bytes with NULs", text, names=names_of(BASE),
          files={"oeminfo.ini": noise})
    k.add("control-bytes", "a DEL and an ESC in the section header",
          text.replace(b"[OSBranding]", b"[OS\x7fBrand\x1bing]"), names=names_of(BASE))


def structure(k):
    for name, _ in BASE:
        secs = [s for s in BASE if s[0] != name]
        k.ansi("structure", "no [%s] section" % name, secs)
    k.ansi("structure", "only [OSBranding], every other section missing", BASE[:1])
    k.ansi("structure", "every section there, no keys", [(s, []) for s, _ in BASE])
    k.add("structure", "an empty Vexilla.INI", b"")
    k.add("structure", "only comments and blank lines", b"; nothing\r\n\r\n# here\r\n")
    k.add("structure", "no Vexilla.INI at all", None)
    for key in ("Mfgr", "URL", "ShortcutName", "ShortcutIcon", "ButtonIcon", "ShortcutURL"):
        k.ansi("structure", "no %s key" % key, sections(**{key: None}))
    # Duplicates: the second copy disagrees with the first.
    dup = BASE + [("DesktopShortcut", [("ShortcutName", "Second Name"),
                                       ("ShortcutIcon", "second.ico")]),
                  ("OSBranding", [("Mfgr", "Second Maker"), ("ButtonIcon", "second.ico")])]
    k.ansi("structure", "[OSBranding] and [DesktopShortcut] each twice, with other values",
           dup, files={"second.ico": ICON})
    secs = [(s, ks + [(key, v + " again") for key, v in ks]) for s, ks in BASE]
    k.ansi("structure", "every key twice in its section, the second with another value", secs)
    k.add("structure", "keys before any section header",
          ("Mfgr=Orphan\r\nShortcutName=Orphan\r\n" + ini_text(BASE)).encode(),
          names=names_of(BASE) + [("ShortcutName", "Orphan")])
    k.add("structure", "an unclosed section header [OSBranding",
          ini_text(BASE).replace("[OSBranding]", "[OSBranding").encode(), names=names_of(BASE))
    k.add("structure", "keys without an equals sign and an equals sign without a key",
          ini_text(BASE).replace("Mfgr=", "Mfgr ").replace("[Config]", "[Config]\r\n=lonely")
          .encode(), names=names_of(BASE))
    k.add("structure", "blanks around section names, keys and equals signs",
          "\r\n".join(("  " + l.replace("=", "  =  ") + "  ") for l in
                      ini_text(BASE).split("\r\n")).encode(),
          names=names_of(BASE) + [(key, "  " + v + "  ") for key, v in names_of(BASE)])
    k.add("structure", "section and key names in lower case",
          ini_text(BASE).lower().encode(),
          names=[(key, v.lower()) for key, v in names_of(BASE)])
    k.ansi("structure", "the icons named but missing from the kit", BASE, drop=("support.ico",))
    k.ansi("structure", "no oemlogo.bmp and no oeminfo.ini", BASE,
           drop=("oemlogo.bmp", "oeminfo.ini"))
    k.ansi("structure", "UseIE is not a number", sections(UseIE="yes please"))
    k.ansi("structure", "every value empty", [(s, [(key, "") for key, _ in ks]) for s, ks in BASE])
    k.ansi("structure", "URLs naming local programs and variables",
           sections(URL="file:///C:/Windows/System32/cmd.exe", ShortcutURL="%WINDIR%\\notepad.exe",
                    ButtonAction="javascript:alert(1)"))
    k.ansi("structure", "UseIE=1 with an empty ShortcutURL", sections(UseIE="1", ShortcutURL=""))
    k.ansi("structure", "values in double quotes, with quotes inside",
           sections(Mfgr='"Northwind "Systems""', ShortcutName='"Quoted"'))
    k.ansi("structure", "values with percent signs and semicolons",
           sections(Mfgr="100% ; Northwind", ShortcutName="Help %USERNAME%"))
    k.add("structure", "oeminfo.ini without its sections", ini_text(BASE).encode(),
          names=names_of(BASE), files={"oeminfo.ini": b"Line1=no section\r\n"})


def line_ends(k):
    text = ini_text(BASE, "\r\n")
    k.ansi("line-ends", "lines ended by CR only", BASE, eol="\r")
    k.ansi("line-ends", "lines ended by LF only", BASE, eol="\n")
    k.ansi("line-ends", "lines ended by CR CR LF", BASE, eol="\r\r\n")
    k.ansi("line-ends", "lines ended by LF CR", BASE, eol="\n\r")
    ends = ["\r\n", "\n", "\r"]
    mixed = "".join(line + k.rng.choice(ends) for line in text.split("\r\n")[:-1])
    k.add("line-ends", "each line ended at random by CR LF, LF or CR", mixed.encode(),
          names=names_of(BASE))
    k.add("line-ends", "no line end after the last line", text.rstrip("\r\n").encode(),
          names=names_of(BASE))
    k.add("line-ends", "the whole file on one line, no line end at all",
          text.replace("\r\n", " ").encode(), names=names_of(BASE))
    k.ansi("line-ends", "oeminfo.ini with CR-only lines", BASE,
           files={"oeminfo.ini": OEMINFO.replace(b"\r\n", b"\r")})
    k.add("line-ends", "CR-only lines in UTF-16 with its mark",
          b"\xff\xfe" + ini_text(BASE, "\r").encode("utf-16-le"), names=names_of(BASE))
    k.add("line-ends", "mixed line ends in UTF-8 with its mark",
          b"\xef\xbb\xbf" + mixed.encode(), names=names_of(BASE))


def encodings(k):
    uni = sections(Mfgr="Müller Systemtechnik", Model="株式会社テスト",
                   ShortcutName="Ångström Support", ShortcutIcon="ünï.ico",
                   ButtonIcon="ünï.ico", DropDesktopShortcutIcon="ünï.ico")
    files = {"ünï.ico": ICON}
    text = ini_text(uni)
    k.add("encodings", "UTF-16 LE with its byte-order mark", b"\xff\xfe" + text.encode("utf-16-le"),
          names=names_of(uni), files=files)
    k.add("encodings", "UTF-16 LE without a byte-order mark", text.encode("utf-16-le"),
          names=names_of(uni), files=files)
    k.add("encodings", "UTF-16 BE with its byte-order mark", b"\xfe\xff" + text.encode("utf-16-be"),
          names=names_of(uni), files=files)
    k.add("encodings", "UTF-16 BE without a byte-order mark", text.encode("utf-16-be"),
          names=names_of(uni), files=files)
    k.add("encodings", "UTF-8 with its byte-order mark", b"\xef\xbb\xbf" + text.encode(),
          names=names_of(uni), files=files)
    k.add("encodings", "UTF-8 without a mark", text.encode(), names=names_of(uni), files=files)
    ascii_text = ini_text(BASE)
    k.add("encodings", "UTF-16 LE with its mark, ASCII text only",
          b"\xff\xfe" + ascii_text.encode("utf-16-le"), names=names_of(BASE))
    k.add("encodings", "UTF-16 LE with its mark and an odd number of bytes",
          b"\xff\xfe" + ascii_text.encode("utf-16-le") + b"\x41", names=names_of(BASE))
    k.add("encodings", "a UTF-16 byte-order mark alone", b"\xff\xfe")
    k.add("encodings", "a UTF-8 byte-order mark alone", b"\xef\xbb\xbf")
    k.add("encodings", "a UTF-8 mark before text in the code page (invalid UTF-8)",
          b"\xef\xbb\xbf" + ini_text(sections(Mfgr="Müller", ShortcutName="Señor"))
          .encode("cp1252"), names=names_of(BASE) + [("ShortcutName", "Señor"),
                                                       ("ShortcutName", "Se\ufffdor")])
    k.add("encodings", "UTF-8 with overlong and truncated sequences",
          ascii_text.replace("Northwind Systems", "N\udcc0\udcafrth\udce2\udc82").encode(
              "utf-8", "surrogateescape"), names=names_of(BASE))
    bad16 = ascii_text.encode("utf-16-le").replace("Northwind Systems".encode("utf-16-le"),
                                                   b"\x00\xd8\x41\x00\x00\xdc\x00\xdc", 1)
    k.add("encodings", "UTF-16 with lone surrogates in Mfgr", b"\xff\xfe" + bad16,
          names=names_of(BASE))
    k.add("encodings", "UTF-16 Vexilla.INI and a UTF-8 oeminfo.ini with its mark",
          b"\xff\xfe" + text.encode("utf-16-le"), names=names_of(uni),
          files=dict(files, **{"oeminfo.ini": b"\xef\xbb\xbf" +
                               "[General]\r\nManufacturer=Müller\r\n".encode()}))
    k.add("encodings", "UTF-16 ShortcutName with a character outside the BMP",
          b"\xff\xfe" + ini_text(sections(ShortcutName="Help \U0001F600")).encode("utf-16-le"),
          names=names_of(sections(ShortcutName="Help \U0001F600")))


def dir_for_file(k):
    k.ansi("dir-for-file", "Vexilla.INI is a folder", [], files={"Vexilla.INI": DIR})
    k.ansi("dir-for-file", "oemlogo.bmp is a folder", BASE, files={"oemlogo.bmp": DIR})
    k.ansi("dir-for-file", "oeminfo.ini is a folder", BASE, files={"oeminfo.ini": DIR})
    k.ansi("dir-for-file", "the icon (support.ico) is a folder", BASE, files={"support.ico": DIR})
    k.ansi("dir-for-file", "ButtonIcon and ShortcutIcon name different folders",
           sections(ButtonIcon="button.ico", ShortcutIcon="shortcut.ico"),
           files={"button.ico": DIR, "shortcut.ico": DIR})


def bmp(width, height, bits=24, size=None, data_offset=54, pixels=b""):
    row = ((width * bits + 31) // 32) * 4 if width > 0 else 0
    image = row * abs(height)
    header = struct.pack("<2sIHHI", b"BM", (size if size is not None else 54 + image) & 0xFFFFFFFF, 0, 0,
                         data_offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image & 0xFFFFFFFF, 2835, 2835, 0, 0)
    return header + info + pixels


def big_logo(path):
    # 50 MiB: a header that says so, then zero pixels; made here, never kept in the repository.
    size = 50 * 1024 * 1024
    with open(path, "wb") as f:
        f.write(bmp(4096, 4266, 24, size=size))
        f.truncate(size)


def logo(k):
    cases = [
        ("a text file named oemlogo.bmp", b"this is not a picture\r\n"),
        ("a PNG named oemlogo.bmp", b"\x89PNG\r\n\x1a\n" + bytes(64)),
        ("oemlogo.bmp of 0 bytes", b""),
        ("oemlogo.bmp of the two bytes BM only", b"BM"),
        ("a BMP header cut after 20 bytes", LOGO[:20]),
        ("a BMP whose header gives 2^31 x 2^31 pixels", bmp(0x7FFFFFFF, 0x7FFFFFFF)),
        ("a BMP with a negative width and 0 bits a pixel", bmp(-120, 120, bits=0)),
        ("a BMP whose pixel data starts past the end of the file", bmp(120, 120,
                                                                        data_offset=0xFFFFFFF0)),
        ("the example logo with its pixel rows cut off", LOGO[:1000]),
    ]
    for description, data in cases:
        k.ansi("logo", description, BASE, files={"oemlogo.bmp": data})
    k.ansi("logo", "oemlogo.bmp of 50 MiB (made when the kits are made)", BASE,
           files={"oemlogo.bmp": big_logo})


def names(k):
    hostile = [
        ("..\\evil.ico", "a parent-folder path"), ("..\\..\\evil.ico", "two parent folders"),
        ("sub\\evil.ico", "a backslash"), ("sub/evil.ico", "a slash"),
        ("C:\\evil.ico", "a drive and a path"), ("C:evil.ico", "a drive without a path"),
        ("\\\\server\\share\\evil.ico", "a UNC path"), ("..", "\"..\""), (".", "\".\""),
        ("CON", "the device CON"), ("NUL", "the device NUL"), ("COM1", "the device COM1"),
        ("LPT1", "the device LPT1"), ("con.ico", "CON with an extension"),
        ("PRN", "the device PRN"), ("aux.ico", "AUX with an extension"),
        ("COM9.ico", "COM9 with an extension"), ("lpt9 .txt", "LPT9 with a blank and an extension"),
        ("evil.ico.", "a trailing dot"), ("evil.ico ", "a trailing blank"),
        ("   ", "blanks only"), ("evil*.ico", "a wildcard"),
        ("notepad.exe", "a Windows file (notepad.exe)"),
        ("explorer.exe", "a Windows file (explorer.exe)"), ("win.ini", "a Windows file (win.ini)"),
        ("system.ini", "a Windows file (system.ini)"), ("regedit.exe", "a Windows file (regedit.exe)"),
        ("system32", "a Windows folder (system32)"),
    ]
    plain_collisions = {"notepad.exe", "explorer.exe", "win.ini", "system.ini", "regedit.exe",
                        "system32"}
    for key in ("ShortcutIcon", "ButtonIcon", "ShortcutName"):
        for value, what in hostile:
            files = {}
            if key != "ShortcutName" and value in plain_collisions:
                # The kit holds an icon of that name: a copy would replace the Windows file.
                files[value] = ICON
            changes = {key: value}
            if key == "ShortcutIcon":
                changes["DropDesktopShortcutIcon"] = value
            secs = sections(**changes)
            k.ansi("names", "%s is %s: %s" % (key, what, value), secs, files=files)
    k.ansi("names", "ShortcutName of 300 characters",
           sections(ShortcutName="S" * 300))
    k.ansi("names", "ShortcutName that is a Windows file name with .url (desktop.ini)",
           sections(ShortcutName="desktop.ini"))


def controls(k):
    k.ansi("control", "the example kit as shipped (a valid kit)", BASE)
    k.ansi("control", "a valid kit with text in the code page (ANSI)",
           sections(Mfgr="Müller Systemtechnik", ShortcutName="Señor Support"))
    uni = sections(Mfgr="Müller Systemtechnik", Model="株式会社テスト")
    k.add("control", "a valid kit in UTF-8 with its mark", b"\xef\xbb\xbf" + ini_text(uni).encode(),
          names=names_of(uni))
    k.ansi("control", "a valid kit without the XP extras", sections(
        ButtonName=None, ButtonToolTip=None, ButtonAction=None, ButtonAltAction=None,
        ButtonAltName=None, ButtonIcon=None))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-kits.py OUTDIR")
    out = sys.argv[1]
    if os.path.exists(out):
        shutil.rmtree(out)
    os.makedirs(out)
    k = Kits(out)
    for family in (controls, huge, control, structure, line_ends, encodings, dir_for_file, logo,
                   names):
        family(k)
    print("%d kits in %s" % (k.number, out))


if __name__ == "__main__":
    main()
