#!/bin/sh
# Runs a Windows executable under Wine with a private prefix, quietly, and
# passes its exit code on. Used as CMake's cross-compiling emulator.
set -e
: "${WINEPREFIX:=${TMPDIR:-/tmp}/nimbulator-wine-$(id -u)}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -x /usr/lib/wine/wine64 ] && file -L "$1" 2>/dev/null | grep -q 'x86-64'; then
  exec /usr/lib/wine/wine64 "$@"
fi
if [ -x /usr/lib/wine/wine ]; then
  exec /usr/lib/wine/wine "$@"
fi
exec wine "$@"
