#!/usr/bin/env python3
"""Every program that a fenced command of README.md or docs/ runs from the
repository exists and is executable, so that a renamed or removed script (or
one that lost its mode bit) cannot leave the front door pointing at nothing.

Usage: doc-commands-test.py REPO_ROOT"""
import pathlib
import re
import shlex
import sys

# Commands are fenced as shell; an unmarked fence is a diagram or a Windows
# command line.
SHELL_FENCES = {"sh", "shell", "bash", "console"}
# Made by a build or a run, not kept in the repository.
GENERATED = ("build/", "out/")
SEPARATORS = {"&&", "||", ";", "|", "&"}
# The front door's own commands: found, or the reading below went wrong.
FRONT_DOOR = {"scripts/install-packages.sh", "scripts/demo.sh", "scripts/test.sh"}


def fenced_lines(text):
    """(line number, line) of each shell fence's lines."""
    fence = None
    for number, line in enumerate(text.splitlines(), 1):
        opening = re.match(r"^\s*```(\w*)\s*$", line)
        if opening and fence is None:
            fence = opening.group(1)
        elif line.strip() == "```" and fence is not None:
            fence = None
        elif fence in SHELL_FENCES:
            yield number, line


def programs(line):
    """The program of each command of a shell line, after its VAR=value words."""
    lexer = shlex.shlex(line, posix=True, punctuation_chars=True)
    lexer.whitespace_split = True
    words = list(lexer)
    start = True
    for word in words:
        if word in SEPARATORS:
            start = True
        elif start and re.match(r"^[A-Za-z_][A-Za-z0-9_]*=", word):
            continue
        elif start:
            start = False
            yield word


def main(root):
    pages = [root / "README.md"] + sorted((root / "docs").rglob("*.md"))
    faults, named = [], set()
    for page in pages:
        for number, line in fenced_lines(page.read_text(encoding="utf-8")):
            where = f"{page.relative_to(root)}:{number}"
            try:
                words = list(programs(line))
            except ValueError as error:
                faults.append(f"{where}: cannot read the command ({error}): {line.strip()}")
                continue
            for program in words:
                if "/" not in program or program.startswith(GENERATED) or program.startswith("/"):
                    continue
                path = root / program
                named.add(program)
                if not path.is_file():
                    faults.append(f"{where}: {program} does not exist")
                elif not path.stat().st_mode & 0o111:
                    faults.append(f"{where}: {program} is not executable")
    missing = FRONT_DOOR - named
    if missing:
        faults.append("README.md: the front door's commands were not found: " + ", ".join(sorted(missing)))
    for fault in faults:
        print(fault, file=sys.stderr)
    print(f"{len(named)} scripts named in fenced commands of {len(pages)} pages; {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(pathlib.Path(sys.argv[1]).resolve()))
