#!/usr/bin/python3
"""The texts the release ships, read back. The user guides' HTML: each fenced
block of the Markdown is a code block, each numbered list stays one list
across the pictures of its steps, the link to the other language's guide
points to a page shipped beside it, the support address is a link, every
picture is embedded. The third-party notices: the compiler's runtime
(mingw-w64, winpthreads, GCC's runtime libraries) is named with its licence
texts, FreeImage is said to be modified with the project's patches whole,
a library built older than apt lists is said to be, and every line ends in
CR LF.

Usage: shipped-texts-test.py DOCS_FOLDER RELEASE_FOLDER PATCHES_FOLDER FREEIMAGE_PREFIX
"""
import re
import sys
from html.parser import HTMLParser
from pathlib import Path


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


def report(subject, checks):
    failures = 0
    for name, passed in checks:
        print(f"{'ok  ' if passed else 'FAIL'} {subject}: {name}")
        failures += not passed
    return failures


def main():
    docs, release, patches, prefix = (Path(a) for a in sys.argv[1:5])
    failures = report("the notices", notices_checks((release / "THIRD-PARTY-NOTICES.txt").read_bytes(), patches,
                                                    (prefix / "versions.txt").read_text()))
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
