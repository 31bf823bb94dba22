#!/bin/sh
# Regenerates the screenshots committed in docs/ from the real plug-ins:
# builds the win64 preset and opens each editor in `nimhost editor` under
# Wine on a private X display (cmake/gui-test.sh), with a short input
# script, while the plug-in renders audio.
#   docs/editor.png: the instrument with its default patch, the volume
#   column selected by pressing the master knob, and a note held.
set -e
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64
export WINEPREFIX="${WINEPREFIX:-$(pwd)/build/wineprefix}"
export WINEDEBUG=-all
[ -d "$WINEPREFIX" ] || (wineboot -i >/dev/null 2>&1 || true)
bin=build/win64/bin
work=build/screenshots
mkdir -p docs "$work"

cat >"$work/editor.txt" <<'SCRIPT'
# A press on the master knob's dial (no drag) selects the volume column.
down 1022 22 28
up 1022 22 28
wait 500
SCRIPT
sh cmake/gui-test.sh "$bin/nimhost.exe" editor "$bin/nimbulator.dll" --note 60 \
  --script "$work/editor.txt" --seconds 1 --screenshot docs/editor.png
echo "screenshots: docs/editor.png"

# The manual's pictures come from the same host (its own script and list).
if [ -f scripts/manual-screenshots.sh ]; then
  sh scripts/manual-screenshots.sh
fi
