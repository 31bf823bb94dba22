"""The command line every art script shares.

    python3 script.py OUTDIR NAME...
    python3 script.py OUTDIR @LISTFILE      (one name a line)

A script hands `main` a table of file name -> producer. A producer returns a
cairo image surface (written as a 24-bit .bmp), a list of surfaces (an .ico),
a list of (surface, hot spot) pairs (a .cur), or bytes: a file the script
encoded itself (any name). The build lists the names it
expects; a name the script does not make, or one the script makes that the
build does not list, is an error, so the two lists never drift apart.
"""

import os
import sys

from . import rasterfiles


def _encode(name, picture):
    if isinstance(picture, (bytes, bytearray)):
        return bytes(picture)  # a file the script encoded itself
    extension = os.path.splitext(name)[1].lower()
    if extension == ".bmp":
        return rasterfiles.bmp24_bytes(picture)
    if extension == ".ico":
        return rasterfiles.ico_bytes(picture)
    if extension == ".cur":
        return rasterfiles.cur_bytes(picture)
    raise SystemExit("art: cannot write %s (only .bmp, .ico and .cur)" % name)


def main(producers, argv=None):
    argv = sys.argv[1:] if argv is None else argv
    if not argv:
        raise SystemExit("usage: %s OUTDIR NAME..." % os.path.basename(sys.argv[0]))
    outdir, wanted = argv[0], []
    for arg in argv[1:]:
        if arg.startswith("@"):
            with open(arg[1:]) as f:
                wanted += [line.strip() for line in f if line.strip()]
        else:
            wanted.append(arg)
    unknown = sorted(set(wanted) - set(producers))
    unlisted = sorted(set(producers) - set(wanted))
    if unknown or unlisted:
        raise SystemExit("art: the build and the script disagree; not made by the script: %s; "
                         "made but not listed by the build: %s" % (unknown, unlisted))
    os.makedirs(outdir, exist_ok=True)
    for name in wanted:
        data = _encode(name, producers[name]())
        path = os.path.join(outdir, name)
        # Write beside and rename, so an interrupted run leaves no half file.
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.replace(path + ".tmp", path)
