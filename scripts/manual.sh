#!/bin/sh
# Publishes the manual: regenerates docs/manual/ (plain HTML) from the sources
# in docs/help/, with the same tool and in the same form as the Windows builds
# compile into Nimbulator.chm. Run it after editing a page and commit the result;
# scripts/test-manual.sh fails while docs/manual/ differs from the sources.
set -e
cd "$(dirname "$0")/.."
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
"$python" tools/manual/make_manual.py --source docs/help --html docs/manual
echo "manual: docs/manual/ regenerated"
