#!/usr/bin/env python3
"""Checks that the source folders include one another in one direction only.

Each folder under src/ has a rank; a file may include its own folder and any
folder of a lower rank, never one of the same rank or above. Code outside a
`ui/` folder (and outside src/app, which holds the programs) never includes a
Qt Widgets header: the logic runs and is tested without windows.

usage: check_layers.py SRC_DIR QT_WIDGETS_INCLUDE_DIR
Prints each fault and ends with 1 when there is any.
"""
import os
import re
import sys

RANKS = {
    "engine": 0, "print": 0,
    "format": 1,
    "grid": 2, "session": 2,
    "analysis": 3, "report": 3,
    "design": 4, "graph": 4,
    "grid/ui": 5,
    "report/ui": 6, "design/ui": 6, "graph/ui": 6,
    "analysis/ui": 7,
    "app": 8,
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def folder_of(relative_path):
    """The ranked folder a source path (relative to src/) belongs to."""
    parts = relative_path.split("/")[:-1]
    if len(parts) >= 2 and parts[1] == "ui":
        return parts[0] + "/ui"
    return parts[0] if parts else ""


def widget_headers(widgets_dir):
    names = set()
    for name in os.listdir(widgets_dir):
        names.add(name)
        names.add("QtWidgets/" + name)
    return names


def faults_in(src_dir, widgets):
    faults = []
    for root, _, files in os.walk(src_dir):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(root, name)
            relative = os.path.relpath(path, src_dir)
            here = folder_of(relative)
            if here not in RANKS:
                faults.append(f"{relative}: folder '{here}' has no place in the layers")
                continue
            with open(path, encoding="utf-8") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    kind, target = match.groups()
                    where = f"{relative}:{number}"
                    if kind == "<":
                        if target in widgets and not here.endswith("/ui") and here != "app":
                            faults.append(f"{where}: includes the widget header <{target}> outside a ui folder")
                        continue
                    there = folder_of(target)
                    if there == here or there not in RANKS:
                        continue
                    if RANKS[there] >= RANKS[here]:
                        faults.append(f"{where}: '{here}' includes \"{target}\" of '{there}', which is not below it")
    return faults


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    faults = faults_in(sys.argv[1], widget_headers(sys.argv[2]))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
