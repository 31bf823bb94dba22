#!/bin/sh
# Runs one Windows GUI program (a GUI test executable, or nimhost) under
# Wine on a private X display: picks a free display number, starts Xvfb
# (24-bit) on it, makes sure the Wine prefix does not wait for a window
# manager (X11 Driver "Managed" = "N", set once per prefix), runs the program
# and passes its exit code on. A wineserver still serving the prefix (for
# a program run without a display a moment ago) is waited for first, since
# its desktop has no display; Xvfb and the run's own wineserver are always
# stopped, also when the program fails or hangs.
#
# Usage: gui-test.sh PROGRAM.exe [ARGUMENTS...]
# WINEPREFIX selects the prefix (default as in wine-run.sh);
# GUI_TEST_TIMEOUT bounds the run in seconds (default 900).
set -u
: "${WINEPREFIX:=${TMPDIR:-/tmp}/nimbulator-wine-$(id -u)}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# No debugger on a crash: the run fails at once instead of waiting for one.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winedbg.exe=d"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=wineserver

xvfb=""
cleanup() {
  "$wineserver" -k >/dev/null 2>&1
  timeout 60 "$wineserver" -w >/dev/null 2>&1
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# A free display: no lock file, and Xvfb comes up on it (another run may
# take the same number at the same moment; then try the next).
display=""
n=$((100 + $$ % 100))
tries=0
while [ -z "$display" ] && [ $tries -lt 60 ]; do
  tries=$((tries + 1))
  n=$((n + 1))
  [ $n -gt 299 ] && n=100
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  waited=0
  while [ $waited -lt 100 ] && kill -0 "$xvfb" 2>/dev/null && [ ! -S "/tmp/.X11-unix/X$n" ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  if kill -0 "$xvfb" 2>/dev/null && [ -S "/tmp/.X11-unix/X$n" ]; then
    display=":$n"
  else
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    xvfb=""
  fi
done
[ -n "$display" ] || { echo "gui-test: could not start Xvfb on a free display" >&2; exit 1; }
export DISPLAY="$display"

timeout 60 "$wineserver" -w >/dev/null 2>&1

# Without a window manager, managed windows stall for seconds when hidden.
if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
fi

timeout "${GUI_TEST_TIMEOUT:-900}" "$wine" "$@"
