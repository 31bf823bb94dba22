#!/bin/sh
# Unit tests of the art pipeline (tools/artgen): the BMP, ICO and CUR
# writers and the art scripts' command line, with Debian's Python and pycairo.
set -e
cd "$(dirname "$0")/.."
PYTHONPATH=tools/artgen PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 -m unittest -q tools/artgen/test_nimart.py
echo "test-artgen: passed"
