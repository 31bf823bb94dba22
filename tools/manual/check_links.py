#!/usr/bin/env python3
"""Checks the links and pictures of an HTML tree (the manual).

Every href and src that is not a web address must name a file of the tree,
and an anchor (#name) must name an id or a named anchor of that page. With
--hub PAGE, that page must also link every other page of the tree directly.
Prints one line per fault and exits 1 when there is any.
"""

import argparse
import os
import sys
import urllib.parse
from html.parser import HTMLParser


class PageScan(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.targets = []  # (attribute, value)
        self.anchors = set()

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if value is None:
                continue
            if name in ("href", "src"):
                self.targets.append((name, value))
            if name == "id" or (tag == "a" and name == "name"):
                self.anchors.add(value)


def scan_tree(root):
    pages = {}
    files = set()
    for folder, _, names in os.walk(root):
        for name in names:
            rel = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
            files.add(rel)
            if name.lower().endswith((".htm", ".html")):
                scan = PageScan()
                with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as f:
                    scan.feed(f.read())
                pages[rel] = scan
    return files, pages


def check(root, hub):
    files, pages = scan_tree(root)
    faults = []
    linked_from = {}
    for page, scan in sorted(pages.items()):
        base = os.path.dirname(page)
        for attribute, value in scan.targets:
            parts = urllib.parse.urlsplit(value)
            if parts.scheme or parts.netloc:
                continue  # web addresses are not checked
            target = page
            if parts.path:
                target = os.path.normpath(os.path.join(base, urllib.parse.unquote(parts.path)))
                target = target.replace(os.sep, "/")
            if target not in files:
                faults.append("%s: %s=\"%s\" names no file of the manual" % (page, attribute, value))
                continue
            linked_from.setdefault(page, set()).add(target)
            if parts.fragment and (target not in pages
                                   or parts.fragment not in pages[target].anchors):
                faults.append("%s: %s=\"%s\": no anchor \"%s\" there"
                              % (page, attribute, value, parts.fragment))
    if hub:
        if hub not in pages:
            faults.append("%s is missing" % hub)
        else:
            for page in sorted(pages):
                if page != hub and page not in linked_from.get(hub, set()):
                    faults.append("%s does not link %s" % (hub, page))
    return len(pages), faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("root", help="folder of the HTML tree")
    parser.add_argument("--hub", help="page that must link every other page")
    args = parser.parse_args()
    count, faults = check(args.root, args.hub)
    for fault in faults:
        print(fault)
    if count == 0:
        print("no pages in " + args.root)
        return 1
    print("check_links: %d pages, %d faults" % (count, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
