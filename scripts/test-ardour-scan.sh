#!/bin/sh
# A real DAW's plug-in scanner (Ardour's) must describe the instrument as an
# instrument: 0 audio inputs, 2 outputs, 1 MIDI input, replacing processing,
# our id, name and vendor; and it must describe a real peer instrument from
# Debian (amsynth) the same way, so the check shows the scanner sees ours as
# it sees theirs. The scanner's cache goes to a temporary folder that is
# removed afterwards. Needs the linux build (build/linux/bin).
set -e
cd "$(dirname "$0")/.."
bin=${NIMBULATOR_BIN:-build/linux/bin}
scanner=/usr/lib/ardour7/ardour-vst-scanner
fail() { echo "test-ardour-scan: FAILED: $*" >&2; exit 1; }
[ -x "$scanner" ] || fail "$scanner is missing (package ardour)"
[ -f "$bin/nimbulator.so" ] || fail "$bin/nimbulator.so is missing: build the linux preset first"
peer=$(dpkg -L amsynth 2>/dev/null | grep '/vst/.*\.so$' | head -n 1)
[ -n "$peer" ] && [ -f "$peer" ] || fail "amsynth's VST 2 plug-in is missing (package amsynth)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# scan NAME PLUGIN: runs the scanner with its own cache folder; leaves the
# printed text in $work/NAME.log and the cache entry in $work/NAME.v2i.
scan() {
  mkdir -p "$work/$1"
  XDG_CACHE_HOME="$work/$1" LD_LIBRARY_PATH=/usr/lib/ardour7 \
    timeout 120 "$scanner" -f "$2" >"$work/$1.log" 2>&1 ||
    fail "scanner failed on $2: $(cat "$work/$1.log")"
  set -- "$1" "$work/$1"/ardour7/vst/*.v2i
  [ -f "$2" ] || fail "scanner wrote no cache entry for $1: $(cat "$work/$1.log")"
  cp "$2" "$work/$1.v2i"
}

# attribute NAME KEY: the value of KEY in NAME's cache entry.
attribute() {
  grep '<VST2Info ' "$work/$1.v2i" | sed -n "s/.*[[:space:]]$2=\"\([^\"]*\)\".*/\1/p"
}

scan ours "$bin/nimbulator.so"
scan peer "$peer"

grep -q "Found Plugin: .* Nimbulator$" "$work/ours.log" ||
  fail "scanner did not report the plug-in: $(cat "$work/ours.log")"
passed=0
check() { # NAME KEY EXPECTED
  value=$(attribute "$1" "$2")
  [ "$value" = "$3" ] || fail "$1: $2 is '$value', expected '$3' ($(cat "$work/$1.v2i"))"
  passed=$((passed + 1))
}
check ours id 2014098942
check ours name Nimbulator
check ours creator Orvalend
for who in ours peer; do
  check $who category Instrument
  check $who is_instrument 1
  check $who n_inputs 0
  check $who n_outputs 2
  check $who n_midi_inputs 1
  check $who n_midi_outputs 0
  check $who can_process_replace 1
done
check peer name amsynth
echo "test-ardour-scan: $passed passed, 0 failed"
