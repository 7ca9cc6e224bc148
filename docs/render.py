#!/usr/bin/python3
"""Renders the user's guide (docs/guide.md) to one self-contained HTML page.

    render.py GUIDE.md FIELDS.md TABLES.md OUT.html

FIELDS.md is the table of the design sheet's fields, written by the build
from the program's own field table (tools/fieldtable), so the guide never
retypes a caption, unit or range. It replaces the marker line
"<!-- 字段表 -->". TABLES.md holds the tables of the JGJ 55-2011 design,
written the same way from the design's own data (tools/jgj55tables); it
replaces "<!-- JGJ 55-2011 表 -->". Pictures are embedded as data: addresses, so the page can
be copied or mailed on its own.
"""

import base64
import html
import pathlib
import re
import sys

import markdown

FIELDS_MARKER = "<!-- 字段表 -->"
TABLES_MARKER = "<!-- JGJ 55-2011 表 -->"

STYLE = """
body { font-family: "Noto Sans CJK SC", "WenQuanYi Micro Hei", sans-serif;
       max-width: 46em; margin: 2em auto; padding: 0 1em; line-height: 1.7;
       color: #222; }
h1 { font-size: 1.9em; border-bottom: 2px solid #335; padding-bottom: .2em; }
h2 { font-size: 1.35em; margin-top: 2em; border-bottom: 1px solid #ccd; }
table { border-collapse: collapse; }
div.wide { overflow-x: auto; margin: 1em 0; }
pre { overflow-x: auto; }
p, li { overflow-wrap: break-word; }
th, td { border: 1px solid #bbc; padding: .25em .6em; text-align: left;
         vertical-align: top; }
th { background: #eef; }
code { font-family: "DejaVu Sans Mono", monospace; background: #f4f4f8;
       padding: 0 .2em; }
img { max-width: 100%; border: 1px solid #ccd; }
nav.toc ul { list-style: none; padding-left: 1em; }
blockquote { border-left: 4px solid #ccd; margin-left: 0; padding-left: 1em;
             color: #444; }
"""


def embed_images(body: str, base: pathlib.Path) -> str:
    def replace(match: re.Match) -> str:
        source = match.group(2)
        path = base / source
        if source.startswith("data:") or not path.is_file():
            raise SystemExit(f"render.py: picture {source} not found beside the guide")
        data = base64.b64encode(path.read_bytes()).decode("ascii")
        return f'{match.group(1)}data:image/png;base64,{data}"'

    return re.sub(r'(<img[^>]*?src=")([^"]+)"', replace, body)


def main() -> None:
    if len(sys.argv) != 5:
        raise SystemExit(__doc__)
    guide = pathlib.Path(sys.argv[1])
    fields = pathlib.Path(sys.argv[2]).read_text(encoding="utf-8")
    text = guide.read_text(encoding="utf-8")
    if FIELDS_MARKER not in text:
        raise SystemExit("render.py: the guide has no field-table marker")
    text = text.replace(FIELDS_MARKER, fields)
    if TABLES_MARKER not in text:
        raise SystemExit("render.py: the guide has no marker for the JGJ 55-2011 tables")
    text = text.replace(TABLES_MARKER, pathlib.Path(sys.argv[3]).read_text(encoding="utf-8"))

    # The guide's sections are level-one headings; in the page they sit
    # under the title, one level down.
    converter = markdown.Markdown(
        extensions=["tables", "toc", "sane_lists"],
        extension_configs={"toc": {"title": "目录", "toc_depth": "2"}},
    )
    shifted = re.sub(r"^#", "##", text, flags=re.MULTILINE)
    body = converter.convert(shifted)
    body = embed_images(body, guide.parent)
    # A table wider than a phone's screen scrolls sideways in a box of its
    # own; the text around it keeps the screen's width.
    body = re.sub(r"<table>(.*?)</table>", r'<div class="wide"><table>\1</table></div>', body,
                  flags=re.DOTALL)
    title = "普通澜石 使用说明"
    page = f"""<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{html.escape(title)}</title>
<style>{STYLE}</style>
</head>
<body>
<h1>{html.escape(title)}</h1>
<nav class="toc">{converter.toc}</nav>
{body}
</body>
</html>
"""
    pathlib.Path(sys.argv[4]).write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()
