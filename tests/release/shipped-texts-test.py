#!/usr/bin/python3
"""The texts the release ships, read back. The user guides' HTML: each fenced
block of the Markdown is a code block, each numbered list stays one list
across the pictures of its steps, the link to the other language's guide
points to a page shipped beside it, the support address is a link, every
picture is embedded. The third-party notices: the compiler's runtime
(mingw-w64, winpthreads, GCC's runtime libraries) is named with its licence
texts, FreeImage is said to be modified with the project's patches whole,
a library built older than apt lists is said to be, and every line ends in
CR LF; and every library source file the link maps show in a module, read
from its upstream tarball, has its copyright holders and its own terms (a
grant or a disclaimer) in its library's part of the notices.

Usage: shipped-texts-test.py DOCS_FOLDER RELEASE_FOLDER PATCHES_FOLDER FREEIMAGE_PREFIX MAP32 [MAP64]
"""
import re
import sys
import tarfile
from html.parser import HTMLParser
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "release"))
import notices as made  # noqa: E402  (the tarballs and versions as the notices read them)

# The bundled libraries' archives and their source packages.
ARCHIVES = {"libfreeimage.a": "freeimage", "libtiff.a": "tiff", "libpng16.a": "libpng1.6",
            "libjpeg.a": "libjpeg-turbo", "libz.a": "zlib"}
NOTICE_LINE = re.compile(r"copyright\s*(?:\(c\)|©|\d)", re.I)
HOLDER = re.compile(r"copyright\s*(?:\(c\)|©)?[\d\s,-]*(?:the\s)?(.*)", re.I)
TERMS = re.compile(r"permission|redistribution|granted|warrant|liable", re.I)


class Reader(HTMLParser):
    def __init__(self):
        super().__init__()
        self.code_blocks, self.lists, self.links, self.pictures = 0, [], [], []
        self.open_lists, self.last = [], None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "code" and self.last == "pre":
            self.code_blocks += 1
        elif tag == "ol":
            self.open_lists.append(0)
        elif tag == "li" and self.open_lists:
            self.open_lists[-1] += 1
        elif tag == "a":
            self.links.append(attrs.get("href", ""))
        elif tag == "img":
            self.pictures.append(attrs.get("src", ""))
        self.last = tag

    def handle_endtag(self, tag):
        if tag == "ol":
            self.lists.append(self.open_lists.pop())


def numbered_lists(markdown):
    """The lengths of the Markdown's numbered lists (a list starts at 1.)."""
    lengths = []
    for number in re.findall(r"^(\d+)\. ", markdown, re.M):
        if number == "1":
            lengths.append(0)
        lengths[-1] += 1
    return lengths


def notices_checks(notices, patches, versions):
    text = notices.decode("utf-8")
    older = [line.split()[1] for line in versions.splitlines() if line.startswith("listed ")]
    return [
        ("name the mingw-w64 runtime and winpthreads with their licences",
         "mingw-w64" in text and "winpthreads" in text and "Files: mingw-w64-libraries/winpthreads/*" in text),
        ("give GCC's runtime library exception", "GCC RUNTIME LIBRARY EXCEPTION" in text),
        ("say FreeImage is modified and reproduce the project's patches",
         "modified version" in text and all(p.name in text and p.read_text().splitlines()[0] in text
                                             for p in sorted(patches.glob("*.patch")))),
        (f"say which libraries are older than apt lists {older}",
         all(f"(Debian source package {name} " in text for name in older) and
         text.count("NOTE: built from") == len(older)),
        ("end every line in CR LF", notices.count(b"\n") == notices.count(b"\r\n") > 0 and b"\r\r" not in notices),
    ]


def linked_sources(map_text):
    """(package, source file name) of each archive member that gives the
    module code or data."""
    memory = map_text[map_text.index("Linker script and memory map"):]
    found = set()
    for size, archive, member in re.findall(r"0x[0-9a-f]+\s+0x([0-9a-f]+)\s+\S*?([^/\s]+\.a)\(([^)]+)\)", memory):
        if int(size, 16) and archive in ARCHIVES:
            found.add((ARCHIVES[archive], re.sub(r"\.(obj|o)$", "", member)))
    return found


def comments(text):
    """Each /* */ block, and each run of // or ; lines."""
    blocks, run = re.findall(r"/\*.*?\*/", text, re.S), []
    for line in text.splitlines() + [""]:
        if re.match(r"\s*(//|;)", line):
            run.append(line)
        elif run:
            blocks.append("\n".join(run))
            run = []
    return blocks


def words(text):
    """Lower-case words, without addresses and punctuation."""
    text = re.sub(r"<[^>\s]*>", " ", text.lower()).replace("all rights reserved", "")
    return " ".join(re.sub(r"[^0-9a-z\u00c0-\u024f]+", " ", text).split())


def notice_parts(notices):
    """Each library's part of the notices, by source package, as words."""
    parts = notices.split("\n" + made.RULE + "\n")
    found = {}
    for title, body in zip(parts[1::2], parts[2::2]):
        package = re.search(r"\(Debian source package (\S+) ", title)
        if package:
            found[package.group(1)] = words(body)
    return found


def unnoticed(notices, maps, prefix):
    """The linked source files whose notice the notices lack."""
    versions, _ = made.read_versions(prefix / "versions.txt")
    parts, sources, missing = notice_parts(notices), {}, set()
    for processor, map_text in maps:
        for package, name in sorted(linked_sources(map_text)):
            if package not in sources:
                upstream, _ = made.source_files(prefix.parent / "sources", package, versions[package])
                with tarfile.open(upstream) as tar:
                    sources[package] = {m.name.split("/", 1)[-1]: tar.extractfile(m).read().decode("utf-8", "replace")
                                        for m in tar.getmembers() if m.isfile() and m.name.endswith((".c", ".cpp", ".asm"))}
            # One name in several folders: the processor's own (SIMD code).
            paths = [p for p in sources[package] if p.rsplit("/", 1)[-1] == name]
            paths = [p for p in paths if f"/{processor}/" in f"/{p}"] or paths
            for path in paths:
                for block in comments(sources[package][path]):
                    lines = block.splitlines()
                    notice = [i for i, line in enumerate(lines) if NOTICE_LINE.search(line)]
                    if not notice:
                        continue
                    holders = [words(HOLDER.search(lines[i]).group(1)) for i in notice]
                    terms = "\n".join(lines[notice[-1] + 1:])
                    if any(h not in parts[package] for h in holders) or (
                            TERMS.search(terms) and words(terms) not in parts[package]):
                        missing.add(f"{package}:{path}")
    return sorted(missing)


def report(subject, checks):
    failures = 0
    for name, passed in checks:
        print(f"{'ok  ' if passed else 'FAIL'} {subject}: {name}")
        failures += not passed
    return failures


def main():
    docs, release, patches, prefix = (Path(a) for a in sys.argv[1:5])
    notices = (release / "THIRD-PARTY-NOTICES.txt").read_bytes()
    maps = [(processor, Path(m).read_text()) for processor, m in zip(("i386", "x86_64"), sys.argv[5:7])]
    missing = unnoticed(notices.decode("utf-8").replace("\r\n", "\n"), maps, prefix)
    failures = report("the notices", notices_checks(notices, patches, (prefix / "versions.txt").read_text()) + [
        (f"carry the notice of every library source file linked into the modules {missing or ''}", not missing)])
    for guide, other in (("user-guide", "user-guide-fr"), ("user-guide-fr", "user-guide")):
        markdown = (docs / f"{guide}.md").read_text(encoding="utf-8")
        page = (release / f"{guide}.html").read_text(encoding="utf-8")
        reader = Reader()
        reader.feed(page)
        checks = [
            ("each fenced block is a code block",
             reader.code_blocks == markdown.count("\n```\n") // 2 > 0 and "```" not in page),
            (f"the numbered lists stay whole across their pictures {numbered_lists(markdown)}",
             reader.lists == numbered_lists(markdown)),
            (f"the link to the other guide opens {other}.html, shipped beside it",
             f"{other}.html" in reader.links and (release / f"{other}.html").is_file()),
            ("the support address is a link",
             any(link.startswith(("mailto:", "http")) for link in reader.links) and "{{support}}" not in page),
            ("every picture is embedded",
             reader.pictures and all(src.startswith("data:image/png;base64,") for src in reader.pictures)),
        ]
        failures += report(guide, checks)
    if failures:
        sys.exit(f"{failures} check(s) failed")
    print("all checks passed")


if __name__ == "__main__":
    main()
