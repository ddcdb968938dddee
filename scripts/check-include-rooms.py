#!/usr/bin/env python3
"""Lists the #include "..." edges between rooms and fails on any edge that
runs from a lower room up to a higher one.

The rooms and their order, lowest first, are read from the lines of
docs/ARCHITECTURE.md that start with "rooms <tree>:" (for example
"rooms src: hostapi platform ..."). A quoted include names its room by its
first folder ("ui/Messages.h" is in room ui). Usage:

    scripts/check-include-rooms.py [--list]
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def declared_orders():
    orders = {}
    with open(os.path.join(ROOT, "docs", "ARCHITECTURE.md"), encoding="utf-8") as doc:
        for line in doc:
            match = re.match(r"\s*rooms (\S+):\s*(.+)$", line)
            if match:
                orders[match.group(1)] = match.group(2).split()
    return orders


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
                    parts = target.split("/")
                    room = "/".join(parts[:2]) if "/".join(parts[:2]) in rooms else parts[0]
                    if source and room in rooms and room != source:
                        found.setdefault((source, room), []).append(os.path.relpath(path, ROOT))
    return found


def main():
    orders = declared_orders()
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
    if faults:
        print(f"{faults} include edges run from a lower room to a higher one", file=sys.stderr)
        return 1
    print("no include runs from a lower room to a higher one")
    return 0


if __name__ == "__main__":
    sys.exit(main())
