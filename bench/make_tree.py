#!/usr/bin/env python3
"""make_tree.py ROOT ENTRIES LEVELS best|worst|floor: an installation of ENTRIES listed
entries (folders d*, files f*.dat) in folders LEVELS deep under ROOT, and its Uninstall.lst
in the best order (contents before folders) or the worst (folders before contents).
"floor" is the best order without the program's own two entries; "empty" lists only the
program's own two entries (no tree), for the fixed cost of a run."""
import os, sys

root, entries, levels, order = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
if order == "empty":
    os.makedirs(root, exist_ok=True)
    with open(os.path.join(root, "Uninstall.lst"), "wb") as out:
        out.write(b"uninstall.exe\r\nUninstall.lst\r\n")
    print(0, 0)
    sys.exit(0)
# About twenty files per folder: the widest branching whose folders stay within entries/21.
branching = 2
while sum((branching + 1) ** k for k in range(1, levels + 1)) <= entries // 21:
    branching += 1
children = {"": []}
folders = []
frontier = [""]
for depth in range(levels):
    nxt = []
    for parent in frontier:
        for _ in range(branching):
            name = (parent + "\\" if parent else "") + "d%d" % len(folders)
            folders.append(name)
            children[parent].append(name)
            children[name] = []
            nxt.append(name)
    frontier = nxt
files = {f: [] for f in folders}
for i in range(entries - len(folders)):
    folder = folders[i % len(folders)]
    files[folder].append(folder + "\\f%d.dat" % i)

os.makedirs(root, exist_ok=True)
for f in folders:
    os.makedirs(os.path.join(root, f.replace("\\", "/")), exist_ok=True)
for f in folders:
    for name in files[f]:
        open(os.path.join(root, name.replace("\\", "/")), "wb").close()

lines = []
def best(folder):
    lines.extend(files.get(folder, []))
    for c in children[folder]:
        best(c)
    if folder:
        lines.append(folder)
def worst(folder):
    if folder:
        lines.append(folder)
    for c in children[folder]:
        worst(c)
    lines.extend(files.get(folder, []))
(worst if order == "worst" else best)("")
if order != "floor":
    lines += ["uninstall.exe", "Uninstall.lst"]
with open(os.path.join(root, "Uninstall.lst"), "wb") as out:
    out.write(("\r\n".join(lines) + "\r\n").encode())
print(len(folders), entries - len(folders))
