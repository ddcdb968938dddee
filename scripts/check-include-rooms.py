#!/usr/bin/env python3
"""Lists the #include "..." edges between rooms and fails on any edge that
runs from a lower room up to a higher one.

The rooms and their order, lowest first, are read from the lines of
docs/ARCHITECTURE.md that start with "rooms <tree>:" (for example
"rooms src: hostapi platform ..."). A quoted include names its room by its
first folder ("ui/Messages.h" is in room ui). Lines "windows-free <tree>:
rooms" name rooms whose files reach no Windows header (<windows.h>,
<winbase.h> ...), directly or through the headers of the tree they include.
Usage:

    scripts/check-include-rooms.py [--list]
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SYSTEM_INCLUDE = re.compile(r'^\s*#\s*include\s+<([^>]+)>', re.M)
WINDOWS_HEADER = re.compile(r"(win[a-z0-9]*|commctrl|shlobj|shellapi|objbase|ole2|tlhelp32|psapi)\.h$", re.I)


def declared(kind):
    found = {}
    with open(os.path.join(ROOT, "docs", "ARCHITECTURE.md"), encoding="utf-8") as doc:
        for line in doc:
            match = re.match(r"\s*" + kind + r" (\S+):\s*(.+)$", line)
            if match:
                found[match.group(1)] = match.group(2).split()
    return found


def windows_reach(tree, path, seen):
    """The chain of includes by which path reaches a Windows header, or None."""
    if path in seen:
        return None
    seen.add(path)
    with open(path, encoding="utf-8", errors="replace") as text:
        source = text.read()
    for header in SYSTEM_INCLUDE.findall(source):
        if WINDOWS_HEADER.search(header):
            return [f"<{header}>"]
    for target in INCLUDE.findall(source):
        included = os.path.join(ROOT, tree, target)
        if os.path.exists(included):
            chain = windows_reach(tree, included, seen)
            if chain is not None:
                return [target] + chain
    return None


def windows_faults(tree, rooms):
    faults = 0
    for room in rooms:
        for folder, _, files in os.walk(os.path.join(ROOT, tree, room)):
            for name in sorted(files):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(folder, name)
                chain = windows_reach(tree, path, set())
                if chain is not None:
                    print(f"{tree}: {os.path.relpath(path, ROOT)} reaches Windows: " + " -> ".join(chain))
                    faults += 1
    return faults


def room_of(tree, path, rooms):
    """The room of a file below tree: its first folders, matched against rooms."""
    parts = os.path.relpath(path, os.path.join(ROOT, tree)).split(os.sep)
    for depth in (2, 1):
        name = "/".join(parts[:depth])
        if name in rooms:
            return name
    return None


def edges(tree, rooms):
    found = {}
    for folder, _, files in os.walk(os.path.join(ROOT, tree)):
        for name in files:
            if not name.endswith((".cpp", ".h", ".rc")):
                continue
            path = os.path.join(folder, name)
            source = room_of(tree, path, rooms)
            with open(path, encoding="utf-8", errors="replace") as text:
                for target in INCLUDE.findall(text.read()):
                    # Only headers of this tree: the trees share folder names
                    # ("converter/" is a room of src, tools and tests).
                    if not os.path.exists(os.path.join(ROOT, tree, target)):
                        continue
                    parts = target.split("/")
                    room = "/".join(parts[:2]) if "/".join(parts[:2]) in rooms else parts[0]
                    if source and room in rooms and room != source:
                        found.setdefault((source, room), []).append(os.path.relpath(path, ROOT))
    return found


def main():
    orders = declared("rooms")
    if not orders:
        print("docs/ARCHITECTURE.md declares no 'rooms <tree>:' line", file=sys.stderr)
        return 2
    faults = 0
    for tree, rooms in orders.items():
        rank = {room: i for i, room in enumerate(rooms)}
        for (source, target), files in sorted(edges(tree, rooms).items()):
            upward = rank[target] > rank[source]
            if upward or "--list" in sys.argv:
                print(f"{tree}: {source} -> {target}  ({len(files)} includes)" + ("  UPWARD: " + ", ".join(sorted(set(files))) if upward else ""))
            faults += upward
    for tree, rooms in declared("windows-free").items():
        faults += windows_faults(tree, rooms)
    if faults:
        print(f"{faults} faults: includes from a lower room to a higher one, or Windows in a room that must build without it", file=sys.stderr)
        return 1
    print("no include runs from a lower room to a higher one; the Windows-free rooms reach no Windows header")
    return 0


if __name__ == "__main__":
    sys.exit(main())
