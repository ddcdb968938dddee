#!/usr/bin/python3
"""The user guides as the release ships them, read back from their HTML: each
fenced block of the Markdown is a code block, each numbered list stays one
list across the pictures of its steps, the link to the other language's
guide points to a page that is shipped beside it, the support address is a
link, and every picture is embedded.

Usage: guide-test.py DOCS_FOLDER RELEASE_FOLDER
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


def main():
    docs, release = Path(sys.argv[1]), Path(sys.argv[2])
    failures = 0
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
        for name, passed in checks:
            print(f"{'ok  ' if passed else 'FAIL'} {guide}: {name}")
            failures += not passed
    if failures:
        sys.exit(f"{failures} check(s) failed")
    print("all checks passed")


if __name__ == "__main__":
    main()
