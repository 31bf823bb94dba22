#!/bin/sh
# Regenerates the screenshots committed in docs/ from the real plug-ins:
# builds the win64 preset and opens each editor in `nimhost editor` under
# Wine on a private X display (cmake/gui-test.sh), with a short input
# script, while the plug-in renders audio.
#   docs/editor.png: the instrument with its default patch, the volume
#   column selected by pressing the master knob, and a note held.
#   docs/hyperspace.png, docs/hyperspace-turned.png: the flock view (cut
#   from the editor) with a chord over three octaves held, 32 oscillators
#   and wide ranges, straight on and turned with its two sliders.
#   docs/quenvarel-editor.png: the filter effect's editor at its defaults.
#   docs/setup.png: the installer's dialog.
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

# The flock view: wide ranges so the flock fills the box, 32 oscillators.
flock='param 4 0.5
param 5 0.55
param 6 1
param 7 0.85
param 8 0.8
param 19 0.5'
printf '%s\nwait 1500\n' "$flock" >"$work/hyperspace.txt"
# Turned: presses on the sliders' tracks (0.26 rad about the vertical axis,
# -0.22 rad about the horizontal one), then the flock flies on.
printf '%s\ndown 1045 360 6\nup 1045 360 6\ndown 1045 393 48\nup 1045 393 48\nwait 1500\n' \
  "$flock" >"$work/hyperspace-turned.txt"
for shot in hyperspace hyperspace-turned; do
  sh cmake/gui-test.sh "$bin/nimhost.exe" editor "$bin/nimbulator.dll" --note 36 --note 48 \
    --note 55 --note 67 --script "$work/$shot.txt" --seconds 0.5 --screenshot "$work/$shot.png"
  # The view's rectangle in the editor (275, 11 to 674, 380).
  /usr/bin/python3 - "$work/$shot.png" "docs/$shot.png" <<'PY'
import sys
import cairo
editor = cairo.ImageSurface.create_from_png(sys.argv[1])
view = cairo.ImageSurface(cairo.FORMAT_RGB24, 399, 369)
ctx = cairo.Context(view)
ctx.set_source_surface(editor, -275, -11)
ctx.paint()
view.write_to_png(sys.argv[2])
PY
done
sh cmake/gui-test.sh "$bin/nimhost.exe" editor "$bin/quenvarel.dll" --seconds 1 \
  --screenshot docs/quenvarel-editor.png
echo "screenshots: docs/editor.png docs/hyperspace.png docs/hyperspace-turned.png docs/quenvarel-editor.png"

# The manual's pictures come from the same host (its own script and list).
# docs/setup.png: the installer as it opens with no host folder registered,
# taken by its GUI suite (which runs it as a program of its own).
(cd "$bin" && sh ../../../cmake/gui-test.sh setup_gui_tests.exe \
  --gtest_filter='Installer.FallsBack*' >/dev/null)
cp "$bin/setup-default.png" docs/setup.png

if [ -f scripts/manual-screenshots.sh ]; then
  sh scripts/manual-screenshots.sh
fi
