#!/usr/bin/python3
"""Turns a user guide in Markdown into one self-contained HTML page, its
pictures embedded, so that the guide travels as a single file: fenced code
blocks become code blocks, a numbered list goes on across the pictures
indented under its steps, links to the other guide point to its page, and
{{support}} becomes the support address of the build.

Usage: guide-html.py GUIDE.md OUTPUT.html SUPPORT_ADDRESS
"""
import base64
import html
import re
import sys
from pathlib import Path

import markdown

STYLE = """body { font-family: Segoe UI, Tahoma, sans-serif; max-width: 52em; margin: 2em auto;
  padding: 0 1em; line-height: 1.45; color: #222; }
table { border-collapse: collapse; } td, th { border: 1px solid #bbb; padding: .3em .6em; vertical-align: top; }
img { max-width: 100%; } code { background: #f2f2f2; padding: 0 .2em; }
pre { background: #f2f2f2; padding: .5em .8em; overflow-x: auto; } pre code { padding: 0; }"""


def support_link(address):
    """A web address as it is, an e-mail address as a mailto: link."""
    target = address if "://" in address else f"mailto:{address}"
    return f'<a href="{html.escape(target)}">{html.escape(address)}</a>'


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: guide-html.py GUIDE.md OUTPUT.html SUPPORT_ADDRESS")
    source = Path(sys.argv[1])
    text = source.read_text(encoding="utf-8")
    title = next((l[2:].strip() for l in text.splitlines() if l.startswith("# ")), source.stem)
    if "{{support}}" not in text:
        sys.exit(f"guide-html: {source.name} does not show the support address ({{{{support}}}})")
    body = markdown.markdown(text, extensions=["tables", "fenced_code", "sane_lists"])
    body = body.replace("{{support}}", support_link(sys.argv[3]))
    # The guides link to each other by their Markdown names.
    body = re.sub(r'href="([^":/]+)\.md"', r'href="\1.html"', body)

    def embed(match):
        picture = source.parent / match.group(1)
        if not picture.is_file():
            sys.exit(f"guide-html: {source.name} shows {match.group(1)}, which does not exist")
        data = base64.b64encode(picture.read_bytes()).decode("ascii")
        return f'src="data:image/png;base64,{data}"'

    body = re.sub(r'src="([^":]+\.png)"', embed, body)
    language = "fr" if source.stem.endswith("-fr") else "en"
    Path(sys.argv[2]).write_text(
        f'<!DOCTYPE html>\n<html lang="{language}">\n<head>\n<meta charset="utf-8">\n'
        f"<title>{title}</title>\n<style>\n{STYLE}\n</style>\n</head>\n<body>\n{body}\n</body>\n</html>\n",
        encoding="utf-8")


if __name__ == "__main__":
    main()
