#!/usr/bin/env python3
"""Makes the sample system's files: the folders the shell folders name, the
programs that healthy entries point at, and the planted junk files and
broken shortcuts.

    plant-files.py SAMPLE_DIR
"""
import os
import struct
import sys

USER = "users/sample"
FOLDERS = [
    USER + "/Desktop", USER + "/Documents", USER + "/Downloads",
    USER + "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs",
    USER + "/AppData/Roaming/Microsoft/Windows/Recent",
    USER + "/AppData/Local/Microsoft/Windows/INetCache",
    USER + "/AppData/Local/Microsoft/Windows/INetCookies",
    USER + "/AppData/Local/Temp",
    "users/Public/Desktop", "ProgramData/Microsoft/Windows/Start Menu/Programs",
    "windows/Fonts", "windows/system32", "windows/Temp", "windows/debug", "windows/Help",
]
# Files that healthy entries point at (placeholders: only their names matter).
PRESENT = [
    "windows/notepad.exe", "windows/regedit.exe", "windows/system32/notepad.exe",
    "windows/Fonts/coure.fon", "windows/Fonts/sserife.fon", "windows/Fonts/serife.fon",
    "windows/Fonts/smalle.fon", "windows/Fonts/tahoma.ttf",
    "Program Files/Internet Explorer/iexplore.exe",
    "Program Files/Paint Studio/paintstudio.exe",
    USER + "/Documents/notes.txt",
]
# The planted junk, and a file the junk rules must leave alone.
JUNK = {
    USER + "/AppData/Local/Temp/~DF3A1C.tmp": b"\0" * 4096,
    USER + "/AppData/Local/Temp/orbit-setup.log": b"Orbit Notes 2.4 setup: removed\r\n" * 40,
    USER + "/AppData/Local/Temp/desktop.ini": b"[.ShellClassInfo]\r\n",
    "windows/Temp/cab_4120_1.tmp": b"MSCF" + b"\0" * 2044,
    "windows/debug/netsetup.log": b"NetpDoDomainJoin\r\n" * 20,
    USER + "/AppData/Local/Microsoft/Windows/INetCache/banner[1].gif": b"GIF89a" + b"\0" * 500,
}
# Shortcuts: (file, target); the Orbit Notes ones point at the removed program.
ORBIT = "C:\\Program Files\\Orbit Notes\\orbitnotes.exe"
LINKS = [
    (USER + "/Desktop/Orbit Notes.lnk", ORBIT),
    (USER + "/Desktop/Notepad.lnk", "C:\\windows\\notepad.exe"),
    (USER + "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Orbit Notes/Orbit Notes.lnk", ORBIT),
    ("ProgramData/Microsoft/Windows/Start Menu/Programs/Paint Studio.lnk",
     "C:\\Program Files\\Paint Studio\\paintstudio.exe"),
    (USER + "/AppData/Roaming/Microsoft/Windows/Recent/notes.txt.lnk", "C:\\users\\sample\\Documents\\notes.txt"),
]


def shell_link(target):
    """A shell link that names its target by a local path (LinkInfo only)."""
    volume = struct.pack("<IIII", 17, 3, 0x1234ABCD, 16) + b"\0"
    path = target.encode("cp1252") + b"\0"
    header_size = 0x1C
    volume_offset = header_size
    path_offset = volume_offset + len(volume)
    suffix_offset = path_offset + len(path)
    info_size = suffix_offset + 1
    info = struct.pack("<IIIIIII", info_size, header_size, 1, volume_offset, path_offset, 0, suffix_offset)
    info += volume + path + b"\0"
    clsid = bytes.fromhex("0114020000000000c000000000000046")
    header = struct.pack("<I", 0x4C) + clsid + struct.pack("<II", 0x2, 0x20) + b"\0" * 24
    header += struct.pack("<IiIHHII", 0, 0, 1, 0, 0, 0, 0)
    return header + info + struct.pack("<I", 0)


def write(root, relative, content):
    path = os.path.join(root, "drive_c", relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(content)


def main():
    root = sys.argv[1]
    for folder in FOLDERS:
        os.makedirs(os.path.join(root, "drive_c", folder), exist_ok=True)
    for name in PRESENT:
        write(root, name, b"MZ" if name.endswith(".exe") else b"x")
    for name, content in JUNK.items():
        write(root, name, content)
    for name, target in LINKS:
        write(root, name, shell_link(target))


if __name__ == "__main__":
    main()
