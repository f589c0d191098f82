#!/usr/bin/env python3
"""Prints, from the GoogleTest XML reports of a run, the tests passed, failed and skipped in
each configuration (the part of the report name after the program name), and a last
line "N passed, M failed"."""
import glob, os, sys
import xml.etree.ElementTree as ET

folder = sys.argv[1]
per = {}
for path in sorted(glob.glob(os.path.join(folder, "*.xml"))):
    name = os.path.basename(path)[:-4]
    config = name.split(".", 1)[1] if "." in name else "native"
    counts = per.setdefault(config, [0, 0, 0, set()])
    counts[3].add(name.split(".", 1)[0])
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError:
        counts[1] += 1
        continue
    for case in root.iter("testcase"):
        if case.find("failure") is not None:
            counts[1] += 1
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            counts[2] += 1
        else:
            counts[0] += 1
passed = failed = 0
print("configuration   programs  passed  failed  skipped")
for config in sorted(per):
    p, f, s, programs = per[config]
    passed += p
    failed += f
    print(f"{config:<15} {len(programs):>8}  {p:>6}  {f:>6}  {s:>7}")
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed or not passed else 0)
