#!/usr/bin/env python3
"""Joins the registry editor's exports 1.reg .. N.reg into one registry.reg
for the sample system: trims the COM classes to a small healthy set, drops
fonts that live outside the Windows folder, renames the Wine user to
"sample" and adds the planted problems.

    trim-export.py WORK_DIR N PLANTED_REG OUTPUT_REG WINE_USER
"""
import os
import sys

KEPT_CLASSES = 30
CLSID = "HKEY_CLASSES_ROOT\\CLSID\\"
FONTS = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"


def read_reg(path):
    data = open(path, "rb").read()
    text = data.decode("utf-16") if data[:2] in (b"\xff\xfe", b"\xfe\xff") else data.decode("utf-8-sig")
    return text.replace("\r\n", "\n")


def blocks(text):
    """(key, [lines]) for every [key] block, header line dropped."""
    found = []
    for line in text.split("\n"):
        if line.startswith("[") and line.rstrip().endswith("]"):
            found.append((line.strip()[1:-1], []))
        elif found and line.strip() and not line.startswith(";"):
            found[-1][1].append(line)
    return found


def class_of(key):
    return key[len(CLSID):].split("\\")[0].upper() if key.upper().startswith(CLSID.upper()) else None


def trim_classes(all_blocks):
    """Keeps the first KEPT_CLASSES classes that name no type library or
    application id: the sample carries no type libraries to check them by."""
    refers = set()
    for key, lines in all_blocks:
        cls = class_of(key)
        if cls and (key.upper().endswith("\\TYPELIB") or any(l.upper().startswith('"APPID"=') for l in lines)):
            refers.add(cls)
    kept, order = set(), []
    for key, _ in all_blocks:
        cls = class_of(key)
        if cls and cls not in refers and cls not in kept and len(kept) < KEPT_CLASSES:
            kept.add(cls)
    return [(k, l) for k, l in all_blocks if class_of(k) is None or class_of(k) in kept]


def main():
    work, count, planted, output, user = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5]
    all_blocks = []
    for n in range(1, count + 1):
        path = os.path.join(work, "%d.reg" % n)
        if os.path.exists(path):
            all_blocks += blocks(read_reg(path))
    all_blocks = trim_classes(all_blocks)
    all_blocks = [(k, [l for l in lines if not (k == FONTS and '"Z:\\\\' in l)]) for k, lines in all_blocks]
    all_blocks += blocks(read_reg(planted))

    text = "Windows Registry Editor Version 5.00\n"
    for key, lines in all_blocks:
        text += "\n[%s]\n" % key + "".join(line + "\n" for line in lines)
    text = text.replace("C:\\\\users\\\\%s" % user, "C:\\\\users\\\\sample")
    with open(output, "wb") as out:
        out.write(b"\xff\xfe" + text.replace("\n", "\r\n").encode("utf-16-le"))


if __name__ == "__main__":
    main()
