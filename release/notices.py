#!/usr/bin/python3
"""Writes THIRD-PARTY-NOTICES.txt for the libraries linked into the module.

The texts are taken from the Debian source packages that
deps/build-freeimage.sh downloaded and built, never retyped: each library's
licence file(s) from the upstream tarball, and its copyright lines from the
upstream stanzas of debian/copyright.

Usage: notices.py FREEIMAGE_PREFIX OUTPUT
FREEIMAGE_PREFIX/versions.txt names the package versions built; their sources
lie in FREEIMAGE_PREFIX/../sources.
"""
import re
import sys
import tarfile
from pathlib import Path

# Source package, the name users know, licence files inside the upstream
# tarball (below its top folder), and for long files the part that is the
# licence (a start and an end line), else None.
LIBRARIES = [
    ("freeimage", "FreeImage", [("license-fi.txt", None)]),
    ("libjpeg-turbo", "libjpeg-turbo", [("LICENSE.md", None),
                                        ("README.ijg", ("LEGAL ISSUES", "REFERENCES"))]),
    ("tiff", "libtiff", [("LICENSE.md", None)]),
    ("libpng1.6", "libpng", [("LICENSE", None)]),
    ("zlib", "zlib", [("LICENSE", None)]),
    # Only its half-float header is compiled in, through FreeImage's TIFF support.
    ("imath", "Imath", [("LICENSE.md", None)]),
]

RULE = "=" * 78


def fail(message):
    sys.exit(f"notices: {message}")


def source_files(sources, package, version):
    """The tarballs a .dsc lists: (upstream, debian)."""
    dsc = sources / f"{package}_{version.split(':')[-1]}.dsc"
    if not dsc.is_file():
        fail(f"{dsc} is missing; deps/build-freeimage.sh downloads it into {sources}")
    names = re.findall(r"^ [0-9a-f]{32} \d+ (\S+)$", dsc.read_text(), re.M)
    upstream = [n for n in names if ".orig.tar." in n and not n.endswith(".asc")]
    debian = [n for n in names if ".debian.tar." in n]
    if len(upstream) != 1 or len(debian) != 1:
        fail(f"{dsc} does not name one upstream and one debian tarball")
    return sources / upstream[0], sources / debian[0]


def member_text(tarball, name):
    with tarfile.open(tarball) as tar:
        for member in tar.getmembers():
            if member.isfile() and name in (member.name, member.name.split("/", 1)[-1]):
                return tar.extractfile(member).read().decode("utf-8")
    fail(f"{tarball.name} holds no {name}")


def excerpt(text, bounds):
    if bounds is None:
        return text
    lines = text.splitlines()
    start = next((i for i, l in enumerate(lines) if l.strip() == bounds[0]), None)
    end = next((i for i, l in enumerate(lines) if start is not None and i > start
                and l.strip() == bounds[1]), None)
    if start is None or end is None:
        fail(f"the section {bounds[0]} .. {bounds[1]} was not found")
    return "\n".join(lines[start:end]).rstrip() + "\n"


def copyright_lines(copyright_text):
    """Copyright fields of every stanza but the Debian packaging's own."""
    found = []
    for stanza in re.split(r"\n\s*\n", copyright_text):
        files = re.search(r"^Files:\s*(.*)$", stanza, re.M)
        field = re.search(r"^Copyright:(.*(?:\n[ \t].*)*)", stanza, re.M)
        if not files or not field or files.group(1).strip().startswith("debian/"):
            continue
        for line in field.group(1).splitlines():
            line = " ".join(line.split())
            if line and line != "." and line not in found:
                found.append(line)
    return found


def main():
    if len(sys.argv) != 3:
        fail("usage: notices.py FREEIMAGE_PREFIX OUTPUT")
    prefix = Path(sys.argv[1])
    versions_file = prefix / "versions.txt"
    if not versions_file.is_file():
        fail(f"{versions_file} is missing (the FreeImage build writes it)")
    versions = dict(line.split(None, 1) for line in versions_file.read_text().splitlines() if " " in line)
    sources = prefix.parent / "sources"

    parts = [
        "THIRD-PARTY NOTICES for OmbrixImport.8ba\n\n"
        "The module contains the following libraries, linked statically. Their\n"
        "licence texts and copyright lines below are taken from the Debian source\n"
        "packages the module was built from.\n"
    ]
    for package, title, licence_files in LIBRARIES:
        version = versions.get(package)
        if version is None:
            fail(f"{versions_file} names no version of {package}")
        upstream, debian = source_files(sources, package, version.strip())
        section = [RULE, f"{title} (Debian source package {package} {version.strip()})", RULE, "",
                   "Copyright:"]
        section += [f"  {line}" for line in copyright_lines(member_text(debian, "debian/copyright"))]
        for name, bounds in licence_files:
            section += ["", f"--- {name} ---", "", excerpt(member_text(upstream, name), bounds).rstrip()]
        parts.append("\n".join(section) + "\n")
    Path(sys.argv[2]).write_text("\n".join(parts), encoding="utf-8", newline="\r\n")


if __name__ == "__main__":
    main()
