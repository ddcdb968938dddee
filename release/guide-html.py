#!/usr/bin/python3
"""Turns a user guide in Markdown into one self-contained HTML page, its
pictures embedded, so that the guide travels as a single file.

Usage: guide-html.py GUIDE.md OUTPUT.html
"""
import base64
import re
import sys
from pathlib import Path

import markdown

STYLE = """body { font-family: Segoe UI, Tahoma, sans-serif; max-width: 52em; margin: 2em auto;
  padding: 0 1em; line-height: 1.45; color: #222; }
table { border-collapse: collapse; } td, th { border: 1px solid #bbb; padding: .3em .6em; vertical-align: top; }
img { max-width: 100%; } code { background: #f2f2f2; padding: 0 .2em; }"""


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: guide-html.py GUIDE.md OUTPUT.html")
    source = Path(sys.argv[1])
    text = source.read_text(encoding="utf-8")
    title = next((l[2:].strip() for l in text.splitlines() if l.startswith("# ")), source.stem)
    body = markdown.markdown(text, extensions=["tables"])

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
