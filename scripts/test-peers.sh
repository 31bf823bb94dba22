#!/bin/sh
# Checks our VST 2 declarations against real peers from Debian: our host
# reads a third-party 64-bit plug-in's record correctly, and a real DAW's
# scanner reads ours. Needs the linux build.
set -e
cd "$(dirname "$0")/.."
bin=build/linux/bin
fail() { echo "test-peers: FAILED: $*" >&2; exit 1; }
passed=0

# 1. Our host reads a peer plug-in's record (amsynth's VST 2 build).
peer=/usr/lib/vst/amsynth_vst.so
[ -f "$peer" ] || fail "peer plug-in $peer is missing (package amsynth)"
out=$("$bin/nimhost" info "$peer") || fail "nimhost could not load $peer"
echo "$out" | grep -q '^name: *amsynth$' || fail "peer name not read"
echo "$out" | grep -q "^unique id: *0x616D7379 'amsy'" || fail "peer unique id not read"
echo "$out" | grep -q '^inputs: *0$' || fail "peer input count not read"
echo "$out" | grep -q '^outputs: *2$' || fail "peer output count not read"
echo "$out" | grep -q 'is-synth' || fail "peer flags not read"
echo "$out" | grep -q '^parameters: *41$' || fail "peer parameter count not read"
echo "$out" | grep -q 'amp_attack' || fail "peer parameter names not read"
passed=$((passed + 1))

# 2. Ardour's scanner reads our record (bare effect base).
cache=$(mktemp -d)
trap 'rm -rf "$cache"' EXIT
XDG_CACHE_HOME="$cache" LD_LIBRARY_PATH=/usr/lib/ardour7 \
  timeout 120 /usr/lib/ardour7/ardour-vst-scanner -f "$bin/testeffect.so" >"$cache/scan.log" 2>&1 ||
  fail "ardour-vst-scanner failed: $(cat "$cache/scan.log")"
info=$(cat "$cache"/ardour7/vst/*.v2i) || fail "no scanner cache written"
echo "$info" | grep -q 'id="1315915110"' || fail "scanner read the wrong unique id: $info"
echo "$info" | grep -q 'n_inputs="1" n_outputs="2"' || fail "scanner read wrong pin counts: $info"
echo "$info" | grep -q 'is_instrument="0"' || fail "scanner misread flags: $info"
passed=$((passed + 1))

echo "test-peers: $passed passed, 0 failed"
