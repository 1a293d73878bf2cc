#!/usr/bin/python3
"""Checks the built Tessaron.exe without running it: header, imports, resources, version block.

Arguments: the executable and the build's target, i686 or x86_64. Every mismatch is printed;
the exit code is 1 if there was any. The dialog templates are decoded from their bytes, so a
slip in the resource script (a default style bit that the resource compiler added, a moved
control, a text in the wrong code page) fails here.
"""

import struct
import sys

import pefile

import pecheck

# Window, dialog and control styles.
WS_POPUP, WS_CHILD, WS_VISIBLE = 0x80000000, 0x40000000, 0x10000000
WS_CAPTION, WS_BORDER, WS_SYSMENU = 0x00C00000, 0x00800000, 0x00080000
WS_GROUP, WS_TABSTOP, WS_MINIMIZEBOX = 0x00020000, 0x00010000, 0x00020000
DS_MODALFRAME, DS_SETFONT = 0x80, 0x40
WS_EX_APPWINDOW, WS_EX_CONTEXTHELP = 0x00040000, 0x00000400
SS_LEFT, SS_ICON, SS_NOPREFIX = 0x0, 0x3, 0x80
ES_AUTOHSCROLL, ES_READONLY, ES_NUMBER = 0x80, 0x800, 0x2000
BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_GROUPBOX = 0x0, 0x1, 0x7
BUTTON, EDIT, STATIC = 0x80, 0x81, 0x82
# A class may also be stored by name; the predefined ones compare as their atoms.
CLASS_ATOMS = {"button": BUTTON, "edit": EDIT, "static": STATIC}

RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION = 3, 5, 6, 14, 16
LANG_ZH_CN = 0x0804
NO_ID = -1  # ids are read signed: 16 bits in a plain template, 32 in an extended one

CHILD = WS_CHILD | WS_VISIBLE
LABEL = CHILD | WS_GROUP | SS_LEFT
NUMBER_FIELD = CHILD | WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL
RESULT_FIELD = CHILD | WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL

LOOKUP_DIALOG = {
    "style": WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
             | DS_MODALFRAME | DS_SETFONT,
    "exstyle": WS_EX_APPWINDOW | WS_EX_CONTEXTHELP,
    "rect": (0, 0, 243, 166),
    "caption_prefix": "手机号码归属地查询",
    "font": (9, "宋体", 0, 0, 1),  # points, face, weight, italic, charset
    # id, class, text, style, (x, y, width, height)
    "controls": [
        (NO_ID, STATIC, "手机号", LABEL, (27, 30, 17, 8)),
        (1000, EDIT, "", NUMBER_FIELD, (61, 28, 90, 14)),
        (NO_ID, STATIC, "省份", LABEL, (27, 56, 17, 8)),
        (1001, EDIT, "", RESULT_FIELD, (61, 53, 148, 14)),
        (NO_ID, STATIC, "城市", LABEL, (27, 79, 17, 8)),
        (1002, EDIT, "", RESULT_FIELD, (61, 76, 148, 14)),
        (NO_ID, STATIC, "区号", LABEL, (27, 124, 17, 8)),
        (1003, EDIT, "", RESULT_FIELD, (61, 122, 43, 14)),
        (NO_ID, STATIC, "邮编", LABEL, (120, 125, 17, 8)),
        (1004, EDIT, "", RESULT_FIELD, (155, 122, 53, 14)),
        (NO_ID, STATIC, "类型", LABEL, (27, 102, 17, 8)),
        (1005, EDIT, "", RESULT_FIELD, (61, 99, 148, 14)),
        (1006, BUTTON, "查  询", CHILD | WS_TABSTOP | BS_PUSHBUTTON, (159, 28, 50, 14)),
        (NO_ID, BUTTON, "请输入手机号码", CHILD | BS_GROUPBOX, (15, 12, 213, 140)),
    ],
}

# None as a text: a notice of our own, any text. An int: a resource ordinal.
ABOUT_BOX = {
    "style": WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    "exstyle": 0,
    "rect": (0, 0, 208, 71),
    "caption": "关于 Tessaron",
    "font": (9, "宋体"),
    "controls": [
        (NO_ID, STATIC, 133, CHILD | SS_ICON, (15, 25, 20, 20)),
        (NO_ID, STATIC, "Tessaron Version 0.2 (20070626)", LABEL | SS_NOPREFIX, (13, 10, 146, 8)),
        (NO_ID, STATIC, None, LABEL, (43, 25, 119, 12)),
        (1, BUTTON, "确定", CHILD | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, (166, 7, 35, 14)),
        (NO_ID, STATIC, None, LABEL, (44, 38, 144, 8)),
        (NO_ID, STATIC, None, LABEL, (43, 52, 144, 8)),
        (NO_ID, STATIC, None, LABEL, (18, 49, 17, 8)),
    ],
}

# (width and height, bits per pixel) in stored order.
ICON_GROUPS = {
    133: [(48, 4), (32, 4), (16, 4), (32, 8), (16, 8), (32, 24), (16, 32)],
    134: [(16, None), (32, None)],
    135: [(16, None), (32, None)],
    138: [(16, None), (32, None)],
    139: [(16, None), (32, None)],
}

VERSION_FIXED = {
    "FileVersion": (1, 0, 0, 2), "ProductVersion": (1, 0, 0, 2), "FileFlagsMask": 0x3F,
    "FileFlags": 0x28, "FileOS": 0x4, "FileType": 0x1, "FileSubtype": 0, "FileDate": 0,
}
# None: left to us, any non-empty text.
VERSION_STRINGS = [
    ("Comments", None), ("CompanyName", None), ("FileDescription", "Tessaron"),
    ("FileVersion", "1, 0, 0, 2"), ("InternalName", "Tessaron"), ("LegalCopyright", None),
    ("LegalTrademarks", None), ("OriginalFilename", "Tessaron.exe"),
    ("PrivateBuild", "20060626"), ("ProductName", None), ("ProductVersion", "1, 0, 0, 2"),
    ("SpecialBuild", "V 0.2"),
]

SUBSYSTEM_VERSIONS = {
    "i686": (4, 0),
    # 64-bit Windows loads no image below subsystem 5.02.
    "x86_64": (5, 2),
}

# DLLs that come with every Windows; anything else must ship beside the program.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll",
               "shell32.dll", "comctl32.dll", "comdlg32.dll", "ole32.dll", "oleaut32.dll",
               "shlwapi.dll", "version.dll", "winmm.dll", "imm32.dll"}


class Reader:
    """Little-endian fields of one resource, with the alignment rules of its format."""

    def __init__(self, data: bytes):
        self.data, self.pos = data, 0

    def take(self, fmt: str):
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def align(self, n: int = 4):
        self.pos += -self.pos % n

    def text(self) -> str:
        end = self.pos
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        s = self.data[self.pos:end].decode("utf-16-le")
        self.pos = end + 2
        return s

    def text_or_ordinal(self):
        first = struct.unpack_from("<H", self.data, self.pos)[0]
        if first == 0xFFFF:
            self.pos += 2
            return self.take("H")
        return self.text()


class Check(pecheck.Report):
    def equal(self, what: str, actual, expected):
        self.expect(actual == expected, f"{what}: {actual!r}, expected {expected!r}")

    def true(self, what: str, condition: bool, detail=""):
        self.expect(condition, f"{what}{': ' if detail else ''}{detail}")


def check_header(check: Check, pe: pefile.PE, arch: str):
    check.expect_machine(pe, arch)
    opt = pe.OPTIONAL_HEADER
    check.equal("subsystem", opt.Subsystem, pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])
    check.equal("subsystem version",
                (opt.MajorSubsystemVersion, opt.MinorSubsystemVersion), SUBSYSTEM_VERSIONS[arch])
    check.equal("image version", (opt.MajorImageVersion, opt.MinorImageVersion), (0, 2))


def check_imports(check: Check, pe: pefile.PE):
    imports = {}
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        imports[entry.dll.decode("ascii").lower()] = entry.imports
    appface = imports.pop("appface.dll", None)
    check.true("imports AppFace.dll", appface is not None)
    if appface is not None:
        check.equal("AppFace.dll imported by name", [i.name for i in appface if i.name], [])
        check.equal("AppFace.dll ordinals",
                    sorted(i.ordinal for i in appface if not i.name), [1, 2])
    check.true("imports sqlite3.dll", imports.pop("sqlite3.dll", None) is not None)
    for dll in sorted(set(imports) - SYSTEM_DLLS):
        check.true(f"imports {dll}", False,
                   "not a system DLL; runtime libraries must be linked statically")
    check.true("no delay-loaded DLLs", not hasattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT"))


def resources(check: Check, pe: pefile.PE) -> dict:
    """{(type, id): bytes}; every entry is checked for the Chinese (PRC) language."""
    found = {}
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in rtype.directory.entries:
            key = (rtype.id, name.id if name.id is not None else str(name.name))
            for lang in name.directory.entries:
                check.equal(f"language of resource {key}", hex(lang.id), hex(LANG_ZH_CN))
                check.true(f"resource {key} is unique", key not in found)
                found[key] = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
    return found


def check_inventory(check: Check, res: dict):
    icon_ids = {i for t, i in res if t == RT_ICON}
    # Sorted as text: a resource stored under a name has a string for its id.
    others = sorted((k for k in res if k[0] != RT_ICON), key=repr)
    expected = sorted([(RT_DIALOG, 100), (RT_DIALOG, 102), (RT_STRING, 101 // 16 + 1),
                       (RT_VERSION, 1)] + [(RT_GROUP_ICON, g) for g in ICON_GROUPS], key=repr)
    check.equal("resources besides icon images", others, expected)
    check.equal("icon images", len(icon_ids), sum(len(v) for v in ICON_GROUPS.values()))


def check_controls(check: Check, name: str, controls, expected):
    check.equal(f"{name} control count", len(controls), len(expected))
    for n, (actual, want) in enumerate(zip(controls, expected), 1):
        cid, cls, text, style, rect = want
        where = f"{name} control {n}"
        check.equal(f"{where} id", actual["id"], cid)
        got_class = actual["class"]
        if isinstance(got_class, str):
            got_class = CLASS_ATOMS.get(got_class.lower(), got_class)
        check.equal(f"{where} class", got_class, cls)
        if text is not None:
            check.equal(f"{where} text", actual["text"], text)
        else:
            check.true(f"{where} text", isinstance(actual["text"], str) and actual["text"] != "",
                       "expected a notice")
        check.equal(f"{where} style", hex(actual["style"]), hex(style))
        check.equal(f"{where} rect", actual["rect"], rect)
        check.equal(f"{where} extended style", actual["exstyle"], 0)
        check.equal(f"{where} help id", actual.get("helpid", 0), 0)


def check_lookup_dialog(check: Check, data: bytes):
    r = Reader(data)
    version, signature, helpid, exstyle, style, count = r.take("HHIIIH")
    rect = r.take("hhhh")
    check.equal("dialog 102 form", (version, signature), (1, 0xFFFF))
    if (version, signature) != (1, 0xFFFF):
        return
    want = LOOKUP_DIALOG
    check.equal("dialog 102 help id", helpid, 0)
    check.equal("dialog 102 style", hex(style), hex(want["style"]))
    check.equal("dialog 102 extended style", hex(exstyle), hex(want["exstyle"]))
    check.equal("dialog 102 rect", rect, want["rect"])
    check.equal("dialog 102 menu", r.text_or_ordinal(), "")
    check.equal("dialog 102 class", r.text_or_ordinal(), "")
    caption = r.text()
    check.true("dialog 102 caption", caption.startswith(want["caption_prefix"]), repr(caption))
    points, weight, italic, charset = r.take("HHBB")
    check.equal("dialog 102 font", (points, r.text(), weight, italic, charset), want["font"])
    controls = []
    for _ in range(count):
        r.align()
        c = {}
        c["helpid"], c["exstyle"], c["style"] = r.take("III")
        c["rect"] = r.take("hhhh")
        c["id"] = r.take("i")
        c["class"], c["text"] = r.text_or_ordinal(), r.text_or_ordinal()
        extra = r.take("H")  # creation data that follows the item
        r.pos += extra
        controls.append(c)
    check_controls(check, "dialog 102", controls, want["controls"])


def check_about_box(check: Check, data: bytes):
    r = Reader(data)
    style, exstyle, count = r.take("IIH")
    rect = r.take("hhhh")
    check.true("dialog 100 form", (style >> 16) != 0xFFFF, "extended template, expected plain")
    want = ABOUT_BOX
    check.equal("dialog 100 style", hex(style), hex(want["style"]))
    check.equal("dialog 100 extended style", exstyle, want["exstyle"])
    check.equal("dialog 100 rect", rect, want["rect"])
    check.equal("dialog 100 menu", r.text_or_ordinal(), "")
    check.equal("dialog 100 class", r.text_or_ordinal(), "")
    check.equal("dialog 100 caption", r.text(), want["caption"])
    check.equal("dialog 100 font", (r.take("H"), r.text()), want["font"])
    controls = []
    for _ in range(count):
        r.align()
        c = {}
        c["style"], c["exstyle"] = r.take("II")
        c["rect"] = r.take("hhhh")
        c["id"] = r.take("h")
        c["class"], c["text"] = r.text_or_ordinal(), r.text_or_ordinal()
        extra = r.take("H")  # creation data that follows the item
        r.pos += extra
        controls.append(c)
    check_controls(check, "dialog 100", controls, want["controls"])


def check_strings(check: Check, data: bytes):
    r = Reader(data)
    block = []
    for _ in range(16):
        length = r.take("H")
        block.append(data[r.pos:r.pos + 2 * length].decode("utf-16-le"))
        r.pos += 2 * length
    first = (101 // 16) * 16
    for n, text in enumerate(block):
        expected = "关于 Tessaron(&A)..." if first + n == 101 else ""
        check.equal(f"string {first + n}", text, expected)


def check_icons(check: Check, res: dict):
    for group, images in ICON_GROUPS.items():
        data = res.get((RT_GROUP_ICON, group))
        if data is None:
            continue
        r = Reader(data)
        reserved, kind, count = r.take("HHH")
        check.equal(f"icon group {group} header", (reserved, kind), (0, 1))
        entries = [r.take("BBBBHHIH") for _ in range(count)]
        sizes_only = all(bits is None for _, bits in images)
        check.equal(f"icon group {group} images",
                    [(e[0], None if sizes_only else e[5]) for e in entries], images)
        for w, h, colours, _, planes, bits, size, icon_id in entries:
            where = f"icon group {group} image {w}x{h}x{bits}"
            check.equal(f"{where} square", h, w)
            check.equal(f"{where} planes", planes, 1)
            check.equal(f"{where} colour count", colours, 1 << bits if bits < 8 else 0)
            image = res.get((RT_ICON, icon_id))
            check.true(f"{where} image {icon_id} present", image is not None)
            if image is None:
                continue
            check.equal(f"{where} image size", len(image), size)
            header = struct.unpack_from("<IiiHH", image)
            check.equal(f"{where} bitmap header", header, (40, w, 2 * h, 1, bits))
            if bits == 32:
                pixels = image[40:40 + 4 * w * h]
                # All-zero alpha would make the system treat the image as opaque black.
                check.true(f"{where} has alpha", any(pixels[3::4]))


def version_node(r: Reader):
    """(key, value, children) of one version-block node; text values decoded."""
    start = r.pos
    length, value_length, kind = r.take("HHH")
    key = r.text()
    r.align()
    if kind == 1:
        value = r.data[r.pos:r.pos + 2 * value_length].decode("utf-16-le").split("\0")[0]
        r.pos += 2 * value_length
    else:
        value = r.data[r.pos:r.pos + value_length]
        r.pos += value_length
    children = []
    while True:
        r.align()
        if r.pos >= start + length:
            break
        children.append(version_node(r))
    r.pos = start + length
    return key, value, children


def check_version(check: Check, data: bytes):
    key, fixed, children = version_node(Reader(data))
    check.equal("version block key", key, "VS_VERSION_INFO")
    f = struct.unpack("<13I", fixed[:52])
    check.equal("version signature", hex(f[0]), hex(0xFEEF04BD))
    actual = {
        "FileVersion": (f[2] >> 16, f[2] & 0xFFFF, f[3] >> 16, f[3] & 0xFFFF),
        "ProductVersion": (f[4] >> 16, f[4] & 0xFFFF, f[5] >> 16, f[5] & 0xFFFF),
        "FileFlagsMask": f[6], "FileFlags": f[7], "FileOS": f[8], "FileType": f[9],
        "FileSubtype": f[10], "FileDate": (f[11] << 32) | f[12],
    }
    for field, value in VERSION_FIXED.items():
        check.equal(f"version {field}", actual[field], value)
    blocks = {k: c for k, _, c in children}
    check.equal("version blocks", [k for k, _, _ in children], ["StringFileInfo", "VarFileInfo"])
    tables = blocks.get("StringFileInfo", [])
    check.equal("version string tables", [k for k, _, _ in tables], ["080404b0"])
    if tables:
        strings = [(k, v) for k, v, _ in tables[0][2]]
        check.equal("version keys", [k for k, _ in strings], [k for k, _ in VERSION_STRINGS])
        for (k, v), (_, want) in zip(strings, VERSION_STRINGS):
            if want is None:
                check.true(f"version {k}", v != "", "expected a text")
            else:
                check.equal(f"version {k}", v, want)
    variables = blocks.get("VarFileInfo", [])
    check.equal("version translation", [(k, v) for k, v, _ in variables],
                [("Translation", struct.pack("<HH", LANG_ZH_CN, 1200))])


def main() -> int:
    args = pecheck.argument_parser(__doc__).parse_args()
    pe = pecheck.load(args.file)
    check = Check(args.file)
    check_header(check, pe, args.arch)
    check_imports(check, pe)
    res = resources(check, pe)
    check_inventory(check, res)
    decoders = [((RT_DIALOG, 102), check_lookup_dialog), ((RT_DIALOG, 100), check_about_box),
                ((RT_STRING, 101 // 16 + 1), check_strings), ((RT_VERSION, 1), check_version)]
    for key, checker in decoders:
        if key in res:
            checker(check, res[key])
    check_icons(check, res)
    return check.finish()


if __name__ == "__main__":
    sys.exit(main())
