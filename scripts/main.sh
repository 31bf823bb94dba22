#!/bin/sh
# The main job: build the plug-ins natively and show what a host finds in them.
set -e
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux
for plugin in build/linux/bin/nimbulator.so build/linux/bin/quenvarel.so; do
  [ -f "$plugin" ] && build/linux/bin/nimhost info "$plugin"
done
build/linux/bin/nimhost info build/linux/bin/testeffect.so
