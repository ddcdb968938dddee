#!/usr/bin/python3
"""Writes THIRD-PARTY-NOTICES.txt for the code linked into the modules.

The texts are taken from Debian packages, never retyped: for the image
libraries, from the source packages that deps/build-freeimage.sh downloaded
and built (each library's licence file(s) from the upstream tarball, its
copyright lines from the upstream stanzas of debian/copyright); for the
compiler's runtime (mingw-w64's C runtime and winpthreads, GCC's runtime
libraries), from the copyright files of the installed toolchain packages.

Usage: notices.py FREEIMAGE_PREFIX PATCHES_FOLDER OUTPUT
FREEIMAGE_PREFIX/versions.txt names the package versions built; their sources
lie in FREEIMAGE_PREFIX/../sources. PATCHES_FOLDER holds the project's own
patches to FreeImage, which the notices reproduce.
"""
import re
import subprocess
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

# Source files linked into the modules whose notice is their own rather than
# their library's licence file: the source package, the file in its upstream
# tarball and a line of the comment that holds the notice, reproduced whole.
# (tests/release checks the link maps of both modules against the notices.)
OWN_NOTICES = [
    ("freeimage", "Source/FreeImage/NNQuantizer.cpp", "Copyright (c) 1994 Anthony Dekker"),
    ("tiff", "libtiff/tif_hash_set.c", "Copyright (c) 2008-2009, Even Rouault"),
    ("tiff", "libtiff/tif_luv.c", "Copyright (c) 1997 Greg Ward Larson"),
    ("tiff", "libtiff/tif_lzw.c", "Copyright (c) 1985, 1986 The Regents of the University of California."),
    ("tiff", "libtiff/tif_ojpeg.c", "Copyright (c) Joris Van Damme"),
    ("tiff", "libtiff/tif_pixarlog.c", "Copyright (c) 1996 Pixar"),
]

# The compiler's runtime, linked into every module: the Debian package whose
# copyright file holds the texts, the name users know, and what to take.
MINGW_PACKAGE = "mingw-w64-common"
# Stanzas of mingw-w64's machine-readable copyright file for the code that
# ends up in a module: the C runtime and winpthreads (its tests excepted).
MINGW_LINKED = ("*", "mingw-w64-crt/", "mingw-w64-libraries/winpthreads/")
MINGW_UNLINKED = ("mingw-w64-libraries/winpthreads/tests_pthread/",)
GCC_PACKAGE = "gcc-mingw-w64-base"
# GCC's copyright file is prose: its statement about the runtime libraries
# and the runtime library exception, each from a line to the line after it.
GCC_PARTS = [("COPYRIGHT STATEMENTS AND LICENSING TERMS", "The libbacktrace library is licensed under the following terms:"),
             ("GCC RUNTIME LIBRARY EXCEPTION", "libquadmath/*.[hc]:")]

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


def normalised(text):
    """One kind of line end, whatever the source used, and no trailing blanks."""
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    return "\n".join(line.rstrip() for line in lines)


def member_text(tarball, name):
    with tarfile.open(tarball) as tar:
        for member in tar.getmembers():
            if member.isfile() and name in (member.name, member.name.split("/", 1)[-1]):
                data = tar.extractfile(member).read()
                try:
                    return normalised(data.decode("utf-8"))
                except UnicodeDecodeError:   # older sources' comments
                    return normalised(data.decode("latin-1"))
    fail(f"{tarball.name} holds no {name}")


def comment_around(text, marker, where):
    """The comment that holds the line with marker: a /* */ block, or a run
    of // lines."""
    lines = text.splitlines()
    at = next((i for i, line in enumerate(lines) if marker in line), None)
    if at is None:
        fail(f"{where} has no line with {marker!r}")
    start = end = at
    if lines[at].lstrip().startswith("//"):
        while start > 0 and lines[start - 1].lstrip().startswith("//"):
            start -= 1
        while end + 1 < len(lines) and lines[end + 1].lstrip().startswith("//"):
            end += 1
    else:
        while start > 0 and "/*" not in lines[start]:
            start -= 1
        while end + 1 < len(lines) and "*/" not in lines[end]:
            end += 1
    return "\n".join(lines[start:end + 1])


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


def read_versions(versions_file):
    """The versions built, and for each one older than apt lists, the listed one."""
    built, listed = {}, {}
    for line in versions_file.read_text().splitlines():
        words = line.split()
        if len(words) == 2:
            built[words[0]] = words[1]
        elif len(words) == 3 and words[0] == "listed":
            listed[words[1]] = words[2]
    return built, listed


def installed_version(package):
    try:
        return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], check=True,
                              capture_output=True, text=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        fail(f"the package {package} is not installed: run scripts/install-packages.sh")


def copyright_file(package):
    path = Path("/usr/share/doc") / package / "copyright"
    if not path.is_file():
        fail(f"{path} is missing: run scripts/install-packages.sh")
    return normalised(path.read_text(encoding="utf-8"))


def mingw_section():
    """mingw-w64's stanzas for the C runtime and winpthreads, with the licence
    paragraphs they name."""
    stanzas = re.split(r"\n\s*\n(?=\S)", copyright_file(MINGW_PACKAGE))
    licences = {}
    for stanza in stanzas:
        if stanza.startswith("License:") and "\n" in stanza:
            licences[stanza.split("\n", 1)[0][len("License:"):].strip()] = stanza
    chosen, named = [], []
    for stanza in stanzas:
        files = re.match(r"Files:(.*(?:\n[ \t].*)*)", stanza)
        if not files:
            continue
        patterns = files.group(1).split()
        if any(p.startswith(MINGW_UNLINKED) for p in patterns):
            continue
        if not any(p == "*" or p.startswith(MINGW_LINKED[1:]) for p in patterns):
            continue
        chosen.append(stanza)
        licence = re.search(r"^License:\s*(.*)$", stanza, re.M).group(1)
        for name in re.split(r"\s+(?:and|or)\s+", licence.strip()):
            if name in licences and name not in named:
                named.append(name)
    if not any("winpthreads" in stanza for stanza in chosen):
        fail(f"the copyright file of {MINGW_PACKAGE} has no winpthreads stanza")
    version = installed_version(MINGW_PACKAGE)
    return "\n".join([
        RULE, f"mingw-w64 C runtime and winpthreads (Debian package {MINGW_PACKAGE} {version})", RULE, "",
        "The C runtime start-up code and helpers of mingw-w64 and its POSIX threads",
        "library, winpthreads, are linked into each module. From the package's",
        "copyright file, the parts that cover them:", "",
        "\n\n".join(chosen + [licences[name] for name in named]).rstrip()]) + "\n"


def gcc_section():
    text = copyright_file(GCC_PACKAGE)
    version = installed_version(GCC_PACKAGE)
    parts = [excerpt(text, bounds).rstrip() for bounds in GCC_PARTS]
    return "\n".join([
        RULE, f"GCC runtime libraries: libgcc, libstdc++ (Debian package {GCC_PACKAGE} {version})", RULE, "",
        "GCC's runtime libraries are linked into each module under the GCC Runtime",
        "Library Exception. From the package's copyright file:", "",
        "\n\n".join(parts)]) + "\n"


def freeimage_changes(sources, version, debian, patches):
    """What makes the FreeImage in the modules a modified one, and where its
    corresponding source is."""
    series = [name for name in member_text(debian, "debian/patches/series").splitlines()
              if name.strip() and not name.startswith("#")]
    dsc = sources / f"freeimage_{version.split(':')[-1]}.dsc"
    files = re.findall(r"^ [0-9a-f]{64} \d+ (\S+)$", dsc.read_text().split("Checksums-Sha256:", 1)[-1], re.M)
    own = sorted(patches.glob("*.patch"))
    lines = ["", "--- Changes to FreeImage ---", "",
             "The FreeImage in the modules is a modified version: Debian's patches",
             "and the project's own were applied to the original source.", "",
             f"Debian's patches (debian/patches in the Debian source package freeimage {version}):"]
    lines += [f"  {name}" for name in series]
    lines += ["", "The corresponding source is that Debian source package, from Debian's",
              f"archive (apt-get source freeimage={version}), made of:"]
    lines += [f"  {name}" for name in files]
    lines += ["", "with the project's own patches applied after Debian's, reproduced here whole:"]
    for patch in own:
        lines += ["", f"- {patch.name}", "", normalised(patch.read_text(encoding="utf-8")).rstrip()]
    return lines


def main():
    if len(sys.argv) != 4:
        fail("usage: notices.py FREEIMAGE_PREFIX PATCHES_FOLDER OUTPUT")
    prefix, patches = Path(sys.argv[1]), Path(sys.argv[2])
    versions_file = prefix / "versions.txt"
    if not versions_file.is_file():
        fail(f"{versions_file} is missing (the FreeImage build writes it)")
    versions, listed = read_versions(versions_file)
    sources = prefix.parent / "sources"

    parts = [
        "THIRD-PARTY NOTICES for OmbrixImport.8ba\n\n"
        "Each module contains the following libraries, linked statically. Their\n"
        "licence texts and copyright lines below are taken from the Debian packages\n"
        "the modules were built from and with.\n"
    ]
    for package, title, licence_files in LIBRARIES:
        version = versions.get(package)
        if version is None:
            fail(f"{versions_file} names no version of {package}")
        upstream, debian = source_files(sources, package, version)
        section = [RULE, f"{title} (Debian source package {package} {version})", RULE, ""]
        if package in listed:
            section += [f"NOTE: built from {version}, older than the version Debian lists,",
                        f"{listed[package]}, whose source could not be downloaded when the",
                        "modules were built. The fixes of the newer version are missing.", ""]
        section += ["Copyright:"]
        section += [f"  {line}" for line in copyright_lines(member_text(debian, "debian/copyright"))]
        for name, bounds in licence_files:
            section += ["", f"--- {name} ---", "", excerpt(member_text(upstream, name), bounds).rstrip()]
        own = [(path, marker) for name, path, marker in OWN_NOTICES if name == package]
        if own:
            section += ["", "--- Files with notices of their own, as they stand in the source ---"]
            for path, marker in own:
                section += ["", f"{path}:", "", comment_around(member_text(upstream, path), marker,
                                                               f"{upstream.name}:{path}")]
        if package == "freeimage":
            section += freeimage_changes(sources, version, debian, patches)
        parts.append("\n".join(section) + "\n")
    parts += [mingw_section(), gcc_section()]
    Path(sys.argv[3]).write_text("\n".join(parts), encoding="utf-8", newline="\r\n")


if __name__ == "__main__":
    main()
