#!/bin/sh
# The main job: build the plug-ins natively, show what a host finds in the
# instrument, and render its built-in demo phrase (chords, a held note, a
# pitch bend and a controller sweep) through the plug-in's binary interface
# to a WAV file, printing where it went and its peak and RMS levels.
set -e
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux
build/linux/bin/nimhost info build/linux/bin/nimbulator.so
mkdir -p build/renders
build/linux/bin/nimhost render build/linux/bin/nimbulator.so -o build/renders/demo.wav
