#!/bin/sh
# The Debian package: made by CPack from the linux build, installed with
# dpkg -i, its files where Debian keeps VST 2 plug-ins and programs, its
# dependencies worked out, both plug-ins found by Ardour's VST scanner in a
# folder of Ardour's default search path, nimhost run from the PATH; then
# purged, leaving none of its files. Installs system-wide, so it needs root
# (CI runs as root on a throwaway machine). Needs the linux build.
set -e
cd "$(dirname "$0")/.."
build=${NIMBULATOR_BUILD:-build/linux}
scanner=/usr/lib/ardour7/ardour-vst-scanner
fail() { echo "test-deb: FAILED: $*" >&2; exit 1; }
[ "$(id -u)" = 0 ] || fail "dpkg -i needs root"
[ -f "$build/CPackConfig.cmake" ] || fail "$build is not configured: build the linux preset first"
[ -x "$scanner" ] || fail "$scanner is missing (package ardour)"

work=$(mktemp -d)
installed=""
cleanup() {
  [ -n "$installed" ] && dpkg -P nimbulator >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
passed=0
ok() { passed=$((passed + 1)); }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/out/nimbulator_*.deb 2>/dev/null | head -n 1)
[ -f "$deb" ] || fail "cpack made no package: $(cat "$work/cpack.log")"

# Dependencies: the C and C++ runtimes and the audio-file libraries nimhost
# links, each with a version, as dpkg-shlibdeps writes them.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libsndfile1 libsmf0; do
  echo "$depends" | grep -q "$lib (>=" || fail "Depends lacks $lib: $depends"
  ok
done
[ "$(dpkg-deb -f "$deb" Package)" = nimbulator ] || fail "package name"
ok

# A package left by an interrupted earlier run goes first.
dpkg -P nimbulator >/dev/null 2>&1 || true
installed=yes
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$work/dpkg.log")"
for f in /usr/lib/vst/nimbulator.so /usr/lib/vst/quenvarel.so /usr/bin/nimhost \
  /usr/share/doc/nimbulator/manual/Welcome.htm /usr/share/doc/nimbulator/README.md; do
  [ -f "$f" ] || fail "$f was not installed"
  ok
done
dpkg-query -W -f='${Status}' nimbulator | grep -q "install ok installed" || fail "not installed"
ok

# Ardour's default VST 2 search path (compiled into libardour) must hold the
# folder the package uses; every plug-in of ours found in it is scanned.
default_path=$(strings /usr/lib/ardour7/libardour.so* | grep -m 1 '/lib/lxvst:' || true)
[ -n "$default_path" ] || fail "Ardour's default VST path was not found in libardour"
found=""
for dir in $(echo "$default_path" | tr ':' ' '); do
  for plugin in "$dir"/*.so; do
    [ -f "$plugin" ] || continue
    dpkg -S "$plugin" 2>/dev/null | grep -q '^nimbulator:' || continue
    mkdir -p "$work/cache"
    XDG_CACHE_HOME="$work/cache" LD_LIBRARY_PATH=/usr/lib/ardour7 \
      timeout 120 "$scanner" -f "$plugin" >>"$work/scan.log" 2>&1 ||
      fail "scanner failed on $plugin: $(cat "$work/scan.log")"
    found="$found $(basename "$plugin")"
  done
done
for name in Nimbulator Quenvarel; do
  grep -q "Found Plugin: .* $name\$" "$work/scan.log" ||
    fail "the scanner did not find $name in Ardour's default path ($default_path): $(cat "$work/scan.log")"
  ok
done
[ "$(ls "$work"/cache/ardour7/vst/*.v2i | wc -l)" -eq 2 ] || fail "expected two cache entries"
ok

# The installed host runs from the PATH and loads the installed instrument.
PATH=/usr/bin nimhost info /usr/lib/vst/nimbulator.so >"$work/info.log" 2>&1 ||
  fail "nimhost info: $(cat "$work/info.log")"
grep -q Nimbulator "$work/info.log" || fail "nimhost info: $(cat "$work/info.log")"
ok

dpkg -P nimbulator >"$work/dpkg.log" 2>&1 || fail "dpkg -P: $(cat "$work/dpkg.log")"
installed=""
for f in /usr/lib/vst/nimbulator.so /usr/lib/vst/quenvarel.so /usr/bin/nimhost /usr/share/doc/nimbulator; do
  [ ! -e "$f" ] || fail "$f is left after removal"
  ok
done
dpkg-query -W -f='${Status}' nimbulator 2>/dev/null | grep -q "install ok installed" && fail "still registered"
[ -d /usr/lib/vst ] || fail "removal took Debian's /usr/lib/vst with it"
ok
echo "test-deb: $passed passed, 0 failed (scanned:$found)"
