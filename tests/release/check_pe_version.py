#!/usr/bin/python3
"""Reads back what Explorer shows of a Windows file: its version information
and its icons, and the header facts a shipped launcher must have.

check_pe_version.py FILE KEY=VALUE...
  version=X.Y.Z           fixed and string file/product versions
  name=Zindle.exe         OriginalFilename
  product=..., description=...
  icon=PATH.ico           the file's icon images are exactly those of PATH
  kind=gui32|gui64|dll64  machine and subsystem
  imports=A.dll,B.dll     the imported DLLs, exactly (case ignored)
  manifest=PATH           one application manifest (resource 1), exactly
                          the file PATH
Prints each mismatch and exits 1 when there is any."""
import struct
import sys

import pefile


def ico_images(path):
    data = open(path, "rb").read()
    _, _, count = struct.unpack_from("<HHH", data, 0)
    images = []
    for i in range(count):
        size, offset = struct.unpack_from("<II", data, 6 + 16 * i + 8)
        images.append(data[offset:offset + size])
    return sorted(images)


def pe_resources(pe, kind):
    """(name id, bytes) of every resource of the given type, e.g. "RT_ICON"."""
    found = []
    for entry in getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None).entries:
        if entry.id != pefile.RESOURCE_TYPE[kind]:
            continue
        for name in entry.directory.entries:
            for lang in name.directory.entries:
                rva, size = lang.data.struct.OffsetToData, lang.data.struct.Size
                found.append((name.id, pe.get_data(rva, size)))
    return found


def manifest_problems(pe, path):
    found = pe_resources(pe, "RT_MANIFEST")
    if [name for name, _ in found] != [1]:
        return [f"manifest resources {[name for name, _ in found]}, expected [1]"]
    return [] if found[0][1] == open(path, "rb").read() else [f"manifest differs from {path}"]


def strings(pe):
    found = {}
    for info in getattr(pe, "FileInfo", []) or []:
        for block in info:
            for table in getattr(block, "StringTable", []):
                for key, value in table.entries.items():
                    found[key.decode()] = value.decode()
    return found


def main():
    path, expected = sys.argv[1], dict(a.split("=", 1) for a in sys.argv[2:])
    pe = pefile.PE(path)
    problems = []

    def check(what, actual, wanted):
        if actual != wanted:
            problems.append(f"{what}: {actual!r}, expected {wanted!r}")

    texts = strings(pe)
    if "version" in expected:
        v = expected["version"]
        fixed = pe.VS_FIXEDFILEINFO[0] if hasattr(pe, "VS_FIXEDFILEINFO") else None
        if fixed is None:
            problems.append("no VERSIONINFO resource")
        else:
            for what, ms, ls in (("file", fixed.FileVersionMS, fixed.FileVersionLS),
                                 ("product", fixed.ProductVersionMS, fixed.ProductVersionLS)):
                numbers = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
                check(f"fixed {what} version", numbers, v + ".0")
        check("FileVersion", texts.get("FileVersion"), v)
        check("ProductVersion", texts.get("ProductVersion"), v)
    for key, field in (("name", "OriginalFilename"), ("product", "ProductName"),
                       ("description", "FileDescription")):
        if key in expected:
            check(field, texts.get(field), expected[key])
    if "icon" in expected:
        if sorted(d for _, d in pe_resources(pe, "RT_ICON")) != ico_images(expected["icon"]):
            problems.append(f"icon images differ from {expected['icon']}")
    if "kind" in expected:
        machine = {0x14C: "32", 0x8664: "64"}.get(pe.FILE_HEADER.Machine, "?")
        dll = pe.FILE_HEADER.Characteristics & 0x2000
        gui = pe.OPTIONAL_HEADER.Subsystem == 2
        kind = ("dll" if dll else "gui" if gui else "console") + machine
        check("kind", kind, expected["kind"])
    if "imports" in expected:
        actual = sorted(e.dll.decode().lower() for e in pe.DIRECTORY_ENTRY_IMPORT)
        check("imports", actual, sorted(expected["imports"].lower().split(",")))
    if "manifest" in expected:
        problems += manifest_problems(pe, expected["manifest"])

    for p in problems:
        print(f"{path}: {p}")
    print(f"{path}: {'FAIL' if problems else 'ok'}: {texts}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
