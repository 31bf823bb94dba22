#!/usr/bin/env python3
"""Builds the instrument's manual from docs/help/.

One run turns the Markdown pages listed in docs/help/contents.txt into HTML
pages (one stylesheet, the screenshots in images/) and writes them
  --html DIR   as a plain HTML tree (the build's copy, or docs/manual/), and
  --chm FILE   as the compiled help file: the pages plus the project (.hhp),
               table of contents (.hhc) and index (.hhk), all three generated
               from the same list, compiled by chmcmd.
Both outputs come from the same pages in the same run, so the help file and
the published pages never differ.

Pages may link to each other as [[File.htm]] (the target page's title becomes
the link text), [[File.htm|text]] or [[File.htm#anchor|text]]; a target that
is not in the list stops the build. "{{contents}}" on a line of its own
becomes the full table of contents (the welcome page uses it).
"""

import argparse
import html
import os
import re
import shutil
import subprocess
import sys
import tempfile
import urllib.parse

import markdown

PRODUCT = "Nimbulator"
STYLESHEET = "manual.css"
IMAGE_DIR = "images"


class Page:
    def __init__(self, section, file, source, title, keywords):
        self.section = section
        self.file = file
        self.source = source
        self.title = title
        self.keywords = keywords
        self.anchors = []  # (index entry, anchor) pairs a page adds as it is built


def fail(message):
    sys.exit("make_manual: " + message)


def read_contents(path):
    """Reads the one list of pages: section | file | source | title | keywords."""
    pages = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            fields = [field.strip() for field in line.split("|")]
            if len(fields) != 5 or not all(fields[:4]):
                fail("%s:%d: expected section | file | source | title | keywords" % (path, number))
            section, file, source, title, keywords = fields
            if not file.endswith(".htm"):
                fail("%s:%d: page file names end in .htm" % (path, number))
            if any(p.file.lower() == file.lower() for p in pages):
                fail("%s:%d: %s is listed twice" % (path, number, file))
            words = [k.strip() for k in keywords.split(";") if k.strip()]
            pages.append(Page(section, file, source, title, words))
    if not pages:
        fail(path + ": no pages")
    return pages


def href(file, anchor=""):
    return urllib.parse.quote(file) + (("#" + anchor) if anchor else "")


def sections(pages):
    """The pages grouped by section, in list order: [(section, [pages])]."""
    grouped = []
    for page in pages:
        if not grouped or grouped[-1][0] != page.section:
            grouped.append((page.section, []))
        grouped[-1][1].append(page)
    return grouped


def contents_markup(pages, current):
    """The table of contents as nested HTML lists, without the current page."""
    out = ['<ul class="contents">']
    for section, members in sections(pages):
        out.append("<li>%s<ul>" % html.escape(section))
        for page in members:
            if page is not current:
                out.append('<li><a href="%s">%s</a></li>' % (href(page.file), html.escape(page.title)))
        out.append("</ul></li>")
    out.append("</ul>")
    return "\n".join(out)


def expand_links(text, pages, source):
    by_file = {p.file: p for p in pages}

    def link(match):
        target, _, label = match.group(1).partition("|")
        file, _, anchor = target.strip().partition("#")
        page = by_file.get(file)
        if page is None:
            fail("%s: link to %s, which is not in the list" % (source, file))
        return "[%s](%s)" % (label.strip() or page.title, href(file, anchor))

    return re.sub(r"\[\[([^\]]+)\]\]", link, text)


def navigation(pages, index):
    parts = ['<a href="%s">Contents</a>' % href(pages[0].file)]
    if index > 0:
        prev = pages[index - 1]
        parts.append('Previous: <a href="%s">%s</a>' % (href(prev.file), html.escape(prev.title)))
    if index + 1 < len(pages):
        nxt = pages[index + 1]
        parts.append('Next: <a href="%s">%s</a>' % (href(nxt.file), html.escape(nxt.title)))
    return " &nbsp;|&nbsp; ".join(parts)


# Musicians' names for the columns of the preset bank's table.
PRESET_COLUMNS = {
    "Osc.": "Oscillators",
    "Res / noise, tune": "Resonance / noise home, tuning (semitones, cents)",
    "Ranges": "Ranges: volume, pitch, pan, resonance, noise (%)",
    "Low-pass": "LoPass, Q, filter depth",
    "Drive": "Overdrv",
    "Flight": "Speed, Std Dev, Reflect, Attract, Repel, Proxim.",
    "Volume envelope": "Volume envelope: attack points, attack / decay time, sustain level, release time",
    "Play, LFO": "Playing, speed LFO",
}


def table_cells(line):
    return [cell.strip() for cell in line.strip().strip("|").split(" | ")]


def expand_presets(text, source_dir, page, pictures):
    """Replaces "{{presets FILE}}" by the factory presets: an overview table and
    one section per preset with its settings and spectrogram, all read from
    the preset bank's own table (FILE, relative to the manual's sources)."""
    match = re.search(r"^\{\{presets ([^}]+)\}\}$", text, re.M)
    if not match:
        return text
    path = os.path.normpath(os.path.join(source_dir, match.group(1).strip()))
    if not os.path.isfile(path):
        fail("%s: the preset bank's table %s is missing" % (page.source, path))
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    start = next((i for i, line in enumerate(lines) if line.startswith("| Preset | Character |")), None)
    if start is None:
        fail(path + ": no table that starts with | Preset | Character |")
    headers = table_cells(lines[start])
    rows = []
    for line in lines[start + 2:]:
        if not line.startswith("|"):
            break
        cells = table_cells(line)
        name = re.match(r"\[([^\]]+)\]", cells[0])
        if len(cells) != len(headers) or not name:
            fail("%s: cannot read the table row %s" % (path, line))
        rows.append([name.group(1)] + cells[1:])
    if not rows:
        fail(path + ": the preset table is empty")
    images = dict(re.findall(r"!\[([^\]]+)\]\(([^)]+)\)", "\n".join(lines)))

    def slug(name):
        return re.sub(r"[^a-z0-9]+", "-", name.lower()).strip("-")

    out = ["| Preset | Character | %s |" % PRESET_COLUMNS.get(headers[-1], headers[-1]),
           "|---|---|---|"]
    out += ["| [%s](#%s) | %s | %s |" % (row[0], slug(row[0]), row[1], row[-1]) for row in rows]
    out += ["", "## The presets one by one", ""]
    for row in rows:
        name = row[0]
        out += ["### %s {#%s}" % (name, slug(name)), "", row[1], "",
                "| Setting | Value |", "|---|---|"]
        out += ["| %s | %s |" % (PRESET_COLUMNS.get(h, h), v) for h, v in zip(headers[2:], row[2:])]
        out.append("")
        if name in images:
            source = os.path.normpath(os.path.join(os.path.dirname(path), images[name]))
            target = "%s/presets/%s" % (IMAGE_DIR, os.path.basename(source))
            pictures[target] = source
            out += ['<p class="picture"><img src="%s" alt="Spectrogram of %s"></p>'
                    % (urllib.parse.quote(target), html.escape(name)), ""]
        page.anchors.append((name, slug(name)))
    return text[:match.start()] + "\n".join(out) + text[match.end():]


def render_page(pages, index, source_dir, pictures):
    page = pages[index]
    source = os.path.join(source_dir, "pages", page.source)
    with open(source, encoding="utf-8") as f:
        text = f.read()
    text = expand_links(text, pages, source)
    text = expand_presets(text, source_dir, page, pictures)
    body = markdown.markdown(text, extensions=["tables", "sane_lists", "attr_list", "toc"],
                             output_format="html")
    body = body.replace("<p>{{contents}}</p>", contents_markup(pages, page))
    nav = navigation(pages, index)
    document = """<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN" "http://www.w3.org/TR/html4/strict.dtd">
<html lang="en">
<head>
<meta http-equiv="Content-Type" content="text/html; charset=us-ascii">
<title>%(title)s</title>
<link rel="stylesheet" type="text/css" href="%(css)s">
</head>
<body>
<div class="nav">%(nav)s</div>
<h1>%(title)s</h1>
%(body)s
<div class="nav bottom">%(nav)s</div>
</body>
</html>
""" % {"title": html.escape(page.title), "css": STYLESHEET, "nav": nav, "body": body}
    # Plain ASCII with character references: the help viewer then needs no
    # code page to show every character right.
    return document.encode("ascii", "xmlcharrefreplace")


def images_used(documents):
    used = set()
    for data in documents.values():
        for src in re.findall(rb'<img[^>]*\ssrc="([^"]+)"', data):
            used.add(urllib.parse.unquote(src.decode("ascii")))
    return sorted(used)


def build_documents(source_dir, pages):
    """Every output file of the manual, by relative path: pages, stylesheet, images."""
    documents = {}
    pictures = {}  # pictures from outside the sources' images/: output path -> file
    for index, page in enumerate(pages):
        documents[page.file] = render_page(pages, index, source_dir, pictures)
    with open(os.path.join(source_dir, STYLESHEET), "rb") as f:
        documents[STYLESHEET] = f.read()
    files = dict(documents)
    for image in images_used(documents):
        path = pictures.get(image, os.path.join(source_dir, image))
        if not image.startswith(IMAGE_DIR + "/") or not os.path.isfile(path):
            fail("picture %s is not in %s/%s" % (image, source_dir, IMAGE_DIR))
        with open(path, "rb") as f:
            files[image] = f.read()
    return files


def write_tree(directory, files):
    """Writes the files and removes pages, stylesheets and pictures that are no
    longer part of the manual, so the tree holds exactly the manual."""
    os.makedirs(directory, exist_ok=True)
    for root, dirs, names in os.walk(directory, topdown=False):
        for name in names:
            path = os.path.join(root, name)
            stale = os.path.relpath(path, directory).replace(os.sep, "/") not in files
            if stale and name.lower().endswith((".htm", ".css", ".png")):
                os.remove(path)
        for name in dirs:
            path = os.path.join(root, name)
            if not os.listdir(path):
                os.rmdir(path)
    for name, data in files.items():
        path = os.path.join(directory, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        old = None
        if os.path.exists(path):
            with open(path, "rb") as f:
                old = f.read()
        if old != data:
            with open(path, "wb") as f:
                f.write(data)


def sitemap_entry(name, local=None):
    params = '<param name="Name" value="%s">' % html.escape(name)
    if local:
        params += '<param name="Local" value="%s">' % html.escape(local)
    return '<LI> <OBJECT type="text/sitemap">%s</OBJECT>' % params


def contents_file(pages):
    """The .hhc: one book per section, holding its pages."""
    lines = ['<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<HTML>", "<HEAD></HEAD>", "<BODY>",
             '<OBJECT type="text/site properties"><param name="ImageType" value="Folder"></OBJECT>',
             "<UL>"]
    for section, members in sections(pages):
        lines.append(sitemap_entry(section))
        lines.append("<UL>")
        lines += [sitemap_entry(page.title, page.file) for page in members]
        lines.append("</UL>")
    lines += ["</UL>", "</BODY>", "</HTML>", ""]
    return "\r\n".join(lines)


def index_file(pages):
    """The .hhk: every page title and keyword, alphabetically."""
    entries = []
    for page in pages:
        for word in [page.title] + page.keywords:
            entries.append((word.lower(), word, page.file))
        for word, anchor in page.anchors:
            entries.append((word.lower(), word, page.file + "#" + anchor))
    entries.sort(key=lambda e: (e[0], e[2]))
    lines = ['<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<HTML>", "<HEAD></HEAD>", "<BODY>",
             "<UL>"]
    lines += [sitemap_entry(word, local) for _, word, local in entries]
    lines += ["</UL>", "</BODY>", "</HTML>", ""]
    return "\r\n".join(lines)


def project_file(pages, files, chm_name):
    lines = ["[OPTIONS]", "Compatibility=1.1 or later", "Compiled file=" + chm_name,
             "Contents file=%s.hhc" % PRODUCT, "Index file=%s.hhk" % PRODUCT,
             "Default topic=" + pages[0].file, "Display compile progress=No",
             "Full-text search=Yes", "Language=0x809 English (United Kingdom)",
             "Title=%s Help" % PRODUCT, "", "[FILES]"]
    lines += sorted(files)
    lines.append("")
    return "\r\n".join(lines)


def build_chm(files, pages, chm_path, chmcmd):
    chm_name = os.path.basename(chm_path)
    with tempfile.TemporaryDirectory() as work:
        write_tree(work, files)
        for name, text in ((PRODUCT + ".hhc", contents_file(pages)),
                           (PRODUCT + ".hhk", index_file(pages)),
                           (PRODUCT + ".hhp", project_file(pages, files, chm_name))):
            with open(os.path.join(work, name), "w", encoding="ascii", newline="") as f:
                f.write(text)
        result = subprocess.run([chmcmd, "--no-html-scan", "--verbosity", "0", PRODUCT + ".hhp"],
                                cwd=work, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                universal_newlines=True)
        built = os.path.join(work, chm_name)
        if result.returncode != 0 or not os.path.isfile(built):
            fail("chmcmd failed:\n" + result.stdout)
        os.makedirs(os.path.dirname(os.path.abspath(chm_path)), exist_ok=True)
        shutil.copyfile(built, chm_path)


def main():
    parser = argparse.ArgumentParser(description="Build the manual as HTML and as a compiled help file.")
    parser.add_argument("--source", required=True, help="the manual's sources (docs/help)")
    parser.add_argument("--html", action="append", default=[], help="write the HTML pages here")
    parser.add_argument("--chm", help="compile the help file to this path")
    parser.add_argument("--chmcmd", default="chmcmd", help="the CHM compiler")
    args = parser.parse_args()

    pages = read_contents(os.path.join(args.source, "contents.txt"))
    files = build_documents(args.source, pages)
    for directory in args.html:
        write_tree(directory, files)
    if args.chm:
        build_chm(files, pages, args.chm, args.chmcmd)


if __name__ == "__main__":
    main()
