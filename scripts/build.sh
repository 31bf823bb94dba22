#!/bin/sh
# Configures and builds the given presets (default: linux win64 win32).
set -e
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- linux win64 win32
for preset in "$@"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
