#!/bin/sh
# Regenerates the manual's pictures from the real plug-ins: builds the win64
# preset, opens the instrument's editor in `nimhost editor` under Wine on a
# private X display (cmake/gui-test.sh) with a chord held and the input script
# docs/help/shots/manual-editor.txt (and once more with a wide flock for the
# hyperspace view, manual-hyperspace.txt), and the effect's editor as it opens; the
# option dialogs and the MIDI controller map dialog as the GUI suites that
# check them show them; cuts the pictures listed in
# docs/help/pictures.txt out of that screenshot into docs/help/images/
# (tools/manual/cut_pictures.sh) and republishes docs/manual/ (scripts/manual.sh).
# scripts/screenshots.sh runs it with the other screenshots.
set -e
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target nimhost nimbulator quenvarel option_dialog_gui_tests \
  midimap_gui_tests
export WINEPREFIX="${WINEPREFIX:-$(pwd)/build/wineprefix}"
export WINEDEBUG=-all
[ -d "$WINEPREFIX" ] || (wineboot -i >/dev/null 2>&1 || true)
bin=build/win64/bin
work=build/screenshots/manual
mkdir -p "$work"
sh cmake/gui-test.sh "$bin/nimhost.exe" editor "$bin/nimbulator.dll" \
  --note 48 --note 60 --note 64 --note 67 \
  --script docs/help/shots/manual-editor.txt --seconds 1 --screenshot "$work/manual-editor.png"
# The hyperspace view's picture: the same editor with a wide flock.
sh cmake/gui-test.sh "$bin/nimhost.exe" editor "$bin/nimbulator.dll" \
  --note 36 --note 48 --note 55 --note 67 \
  --script docs/help/shots/manual-hyperspace.txt --seconds 0.5 --screenshot "$work/manual-hyperspace.png"
sh cmake/gui-test.sh "$bin/nimhost.exe" editor "$bin/quenvarel.dll" \
  --seconds 0.5 --screenshot "$work/quenvarel-editor.png"
OPTION_DIALOG_SHOTS="$work" sh cmake/gui-test.sh "$bin/option_dialog_gui_tests.exe" \
  --gtest_filter='*DialogsShowTheirPictures*'
OPTION_DIALOG_SHOTS="$work" sh cmake/gui-test.sh "$bin/midimap_gui_tests.exe" \
  --gtest_filter='*DialogShowsItsPicture*'
sh tools/manual/cut_pictures.sh "$work"
sh scripts/manual.sh
