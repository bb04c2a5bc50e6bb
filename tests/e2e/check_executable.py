#!/usr/bin/env python3
"""Reads a built Quellmoor.exe back with a PE reader of its own and checks
what a player's machine and the launcher's code rely on: the target, the
imports, the string table, the version, the manifest, the skin images, the
icons and the default-data archive.

usage: check_executable.py EXE ARCH LAUNCHER_PAGE    (ARCH: i686 or x86_64)
"""
import io
import os
import struct
import sys
import zipfile

import pefile

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(HERE, "..", "..", "res")

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "shlwapi.dll",
    "ole32.dll", "oleaut32.dll", "comctl32.dll", "gdiplus.dll", "wininet.dll", "version.dll",
    "crypt32.dll", "msvcrt.dll", "comdlg32.dll", "uxtheme.dll",
}

# id: (width, height) of every skin image.
PNG_SIZES = {172: (1, 30), 203: (203, 30), 206: (91, 30), 304: (256, 112), 316: (9, 9), 275: (1, 1),
             319: (1351, 747)}
for ids, size in [((207, 208, 227), (26, 24)), ((220, 213, 228), (26, 24)), ((221, 217, 229), (26, 24)),
                  ((209, 210, 230), (26, 24)), ((211, 212, 231), (59, 24)), ((223, 215, 233), (97, 24)),
                  ((224, 214, 234), (86, 24)), ((226, 219, 236), (78, 24)), ((252, 253, 261), (78, 24)),
                  ((314, 313, 312, 311), (74, 26)), ((276, 277, 278, 279), (23, 23)),
                  ((320, 321, 322), (34, 35)), ((323, 324, 325), (42, 44))]:
    for i in ids:
        PNG_SIZES[i] = size
# Frame buttons: (normal, hover, pressed).
FRAME_BUTTONS = [(207, 208, 227), (220, 213, 228), (221, 217, 229), (209, 210, 230), (211, 212, 231),
                 (223, 215, 233), (224, 214, 234), (226, 219, 236), (252, 253, 261)]

DEFAULT_INI = (b"[Info]\r\ncode=\r\npwd=\r\nrem=1\r\n[Setting]\r\nsoundoff=0\r\nautostart=0\r\n"
               b"autologin=0\r\nscreenshots=Ctrl+Shift+A\r\nscreentoggle=F10\r\nfullscreen=F11\r\n"
               b"[Start]\r\nfirststart=1\r\n")

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def resources(pe):
    """{type: {id: [(lang, bytes)]}} with numeric or string keys."""
    out = {}
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        tkey = str(type_entry.name) if type_entry.name is not None else type_entry.id
        for id_entry in type_entry.directory.entries:
            ikey = str(id_entry.name) if id_entry.name is not None else id_entry.id
            for lang_entry in id_entry.directory.entries:
                d = lang_entry.data.struct
                out.setdefault(tkey, {}).setdefault(ikey, []).append(
                    (lang_entry.id, pe.get_data(d.OffsetToData, d.Size)))
    return out


def one(res, rtype, rid):
    items = res.get(rtype, {}).get(rid, [])
    check(len(items) == 1, f"resource {rtype}/{rid}: expected one language, found {len(items)}")
    return items[0][1] if items else b""


def string_table(res):
    table = {}
    for block_id, langs in res.get(pefile.RESOURCE_TYPE["RT_STRING"], {}).items():
        for lang, data in langs:
            check(lang == 0x0804, f"string block {block_id} has language {lang:#x}, not Simplified Chinese")
            pos = 0
            for i in range(16):
                (length,) = struct.unpack_from("<H", data, pos)
                pos += 2
                if length:
                    table[(block_id - 1) * 16 + i] = data[pos:pos + 2 * length].decode("utf-16-le")
                pos += 2 * length
    return table


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", data[16:24])


def check_zip(data):
    archive = zipfile.ZipFile(io.BytesIO(data))
    infos = archive.infolist()
    check([i.filename for i in infos] == ["systemset.ini", "uninstall.ico"],
          f"archive entries {[i.filename for i in infos]}")
    check(archive.testzip() is None, "archive CRC check failed")
    for info in infos:
        check(info.compress_type == zipfile.ZIP_DEFLATED, f"{info.filename} is not deflated")
        check(info.create_system == 0, f"{info.filename} made on host {info.create_system}")
        check(info.external_attr == 0x20, f"{info.filename} attributes {info.external_attr:#x}")
        check(info.extra == b"", f"{info.filename} has a central extra field")
        local = data[info.header_offset:info.header_offset + 30]
        check(local[:4] == b"PK\x03\x04", f"{info.filename}: no local header")
        (extra_len,) = struct.unpack_from("<H", local, 28)
        check(extra_len == 0, f"{info.filename} has a local extra field")
    check(len({i.date_time for i in infos}) == 1, "entries carry different times")
    if check("systemset.ini" in archive.namelist(), "no systemset.ini"):
        ini = archive.read("systemset.ini")
        check(ini == DEFAULT_INI and len(ini) == 160, f"systemset.ini differs ({len(ini)} bytes)")
    if check("uninstall.ico" in archive.namelist(), "no uninstall.ico"):
        with open(os.path.join(RES, "defaults", "uninstall.ico"), "rb") as f:
            check(archive.read("uninstall.ico") == f.read(), "uninstall.ico differs from res/defaults")


def main(argv):
    exe, arch, page = argv[1], argv[2], argv[3]
    pe = pefile.PE(exe)
    machine, magic = {"i686": (0x14C, 0x10B), "x86_64": (0x8664, 0x20B)}[arch]
    check(pe.FILE_HEADER.Machine == machine, f"machine {pe.FILE_HEADER.Machine:#x}")
    check(pe.OPTIONAL_HEADER.Magic == magic, f"optional header magic {pe.OPTIONAL_HEADER.Magic:#x}")
    check(pe.OPTIONAL_HEADER.Subsystem == 2, "not a GUI executable")

    imported = {entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
    check(imported and imported <= SYSTEM_DLLS, f"imports beyond the system: {sorted(imported - SYSTEM_DLLS)}")

    res = resources(pe)
    strings = string_table(res)
    expected = {102: "Quellmoor", 105: "vexo", 107: "Quellmoor登录器", 109: "卸载-Quellmoor", 114: page,
                116: "缓存清理中，请稍后……", 117: "qlmr", 118: "\\kelqlmrtmp.exe", 119: "\\ dunwel\\",
                120: "\\cache\\kelqlmrtmpu.exe", 124: "vexo", 125: "vexo", 191: page,
                192: "getClientVersion.php?p=vexo&g=qlmr&v=", 197: "res//systemset.ini"}
    check(strings == expected, f"string table differs: {sorted(set(strings.items()) ^ set(expected.items()))}")

    check(page.startswith("http://") and page.endswith("/games/qlmr/dlq/"), f"launcher page {page}")
    if arch == "i686":
        host = page[len("http://"):].split("/")[0]
        check(":" not in host and not host.startswith("127."), f"the shipped build names {host}")

    pe.parse_data_directories()
    fixed = pe.VS_FIXEDFILEINFO[0]
    check((fixed.FileVersionMS, fixed.FileVersionLS) == (0x00010000, 0x00010000), "file version is not 1.0.1.0")
    check((fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x00010000, 0x00010000),
          "product version is not 1.0.1.0")
    texts = {}
    for info in pe.FileInfo[0]:
        for table in getattr(info, "StringTable", []):
            texts.update({k.decode(): v.decode() for k, v in table.entries.items()})
    check(texts.get("FileVersion") == "1.0.1.0", f"FileVersion text {texts.get('FileVersion')!r}")

    manifest = one(res, pefile.RESOURCE_TYPE["RT_MANIFEST"], 1).decode("utf-8", "replace")
    check('level="asInvoker"' in manifest, "manifest does not ask for asInvoker")
    check('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' in manifest.replace("\n", " ")
          or ("Microsoft.Windows.Common-Controls" in manifest and 'version="6.0.0.0"' in manifest),
          "manifest does not bind Common Controls 6.0.0.0")

    pngs = res.get("PNG", {})
    check(set(pngs) == set(PNG_SIZES), f"PNG ids differ: {sorted(set(pngs) ^ set(PNG_SIZES))}")
    for rid, size in PNG_SIZES.items():
        if rid in pngs:
            check(png_size(one(res, "PNG", rid)) == size, f"PNG {rid} is {png_size(one(res, 'PNG', rid))}, not {size}")
    for normal, hover, pressed in FRAME_BUTTONS:
        if {normal, hover, pressed} <= set(pngs):
            check(one(res, "PNG", normal) == one(res, "PNG", pressed), f"PNG {pressed} differs from {normal}")
            check(one(res, "PNG", normal) != one(res, "PNG", hover), f"PNG {hover} is the normal picture")

    bmp = one(res, pefile.RESOURCE_TYPE["RT_BITMAP"], 318)
    if check(len(bmp) >= 40, "bitmap 318 missing"):
        size, width, height, planes, bits = struct.unpack_from("<IiiHH", bmp, 0)
        check((width, abs(height), bits) == (949, 596, 32), f"bitmap 318 is {width}x{height}x{bits}")

    groups = res.get(pefile.RESOURCE_TYPE["RT_GROUP_ICON"], {})
    for gid in (180, 273, 283):
        data = one(res, pefile.RESOURCE_TYPE["RT_GROUP_ICON"], gid) if gid in groups else b""
        if not check(len(data) >= 6, f"icon group {gid} missing"):
            continue
        (count,) = struct.unpack_from("<H", data, 4)
        sizes = {data[6 + 14 * i] or 256 for i in range(count)}
        check({16, 32, 48, 128} <= sizes and max(sizes) == 128, f"icon group {gid} sizes {sorted(sizes)}")

    check_zip(one(res, "ZIP", 269))

    for failure in failures:
        print("FAIL:", failure)
    print(f"{os.path.basename(exe)} ({arch}): {'ok' if not failures else str(len(failures)) + ' problems'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
