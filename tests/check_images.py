#!/usr/bin/env python3
"""Checks the shipped images: PE32 with subsystem 4.0 (i386) or PE32+
(x86-64), GUI, ASLR and DEP flags, imports only from the allowed system
DLLs, no absolute path of the build machine inside.

    check_images.py SOURCE_DIR dist/win32/setup.exe dist/x64/setup.exe

SOURCE_DIR and the home folder are the build machine's paths looked for.
"""
import os
import struct
import sys

ALLOWED = {"kernel32.dll", "user32.dll", "comdlg32.dll", "advapi32.dll", "lz32.dll",
           "version.dll", "msvcrt.dll"}
DYNAMIC_BASE, NX_COMPAT = 0x0040, 0x0100


def rva_to_offset(sections, rva):
    for va, size, raw in sections:
        if va <= rva < va + size:
            return rva - va + raw
    raise ValueError("rva outside sections")


def check(path, markers, failures):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        failures.append(f"{path}: not a PE image")
        return
    machine, nsections = struct.unpack_from("<HH", data, pe + 4)
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    major_sub, minor_sub = struct.unpack_from("<HH", data, opt + 48)
    subsystem, dllchars = struct.unpack_from("<HH", data, opt + 68)
    want32 = "win32" in path
    if want32 and (machine != 0x14C or magic != 0x10B or (major_sub, minor_sub) != (4, 0)):
        failures.append(f"{path}: not PE32 i386 with subsystem 4.0")
    if not want32 and (machine != 0x8664 or magic != 0x20B):
        failures.append(f"{path}: not PE32+ x86-64")
    if subsystem != 2:
        failures.append(f"{path}: not a GUI program")
    if (dllchars & (DYNAMIC_BASE | NX_COMPAT)) != (DYNAMIC_BASE | NX_COMPAT):
        failures.append(f"{path}: ASLR or DEP flag missing ({dllchars:#x})")
    dirs = opt + (96 if magic == 0x10B else 112)
    import_rva = struct.unpack_from("<I", data, dirs + 8)[0]
    sec = opt + struct.unpack_from("<H", data, pe + 20)[0]
    sections = []
    for i in range(nsections):
        vsize, va, rawsize, raw = struct.unpack_from("<IIII", data, sec + 40 * i + 8)
        sections.append((va, max(vsize, rawsize), raw))
    off = rva_to_offset(sections, import_rva)
    names = []
    while True:
        entry = struct.unpack_from("<IIIII", data, off)
        if entry[3] == 0:
            break
        name_off = rva_to_offset(sections, entry[3])
        names.append(data[name_off:data.index(b"\0", name_off)].decode().lower())
        off += 20
    extra = sorted(set(names) - ALLOWED)
    if extra:
        failures.append(f"{path}: imports {extra}")
    for marker in markers:
        if marker in data:
            failures.append(f"{path}: contains the path {marker.decode()}")
    print(f"{path}: {len(data)} bytes, imports {', '.join(names)}")


def main():
    failures = []
    markers = {os.path.abspath(sys.argv[1]).encode(), os.path.expanduser("~").encode()}
    markers = {m for m in markers if len(m) > 1}
    for path in sys.argv[2:]:
        check(path, markers, failures)
    for f in failures:
        print("FAIL", f)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
