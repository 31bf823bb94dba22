#!/bin/sh
# `nimhost process` end to end with the native filter plug-in: a good run over
# a generated sine, then the error cases, each with its exit code and message.
# BUILD_DIR selects another build tree (default build/linux).
set -e
cd "$(dirname "$0")/.."
bin="${BUILD_DIR:-build/linux}/bin"
nimhost="$bin/nimhost"
plugin="$bin/quenvarel.so"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

. scripts/cli-expect.sh
# expect CODE PATTERN ARGS...: `nimhost process ARGS` exits with CODE and prints PATTERN.
expect() { expect_nimhost process "$@"; }

sox -n -r 44100 -c 2 -b 16 "$work/stereo.wav" synth 1 sine 440 gain -6
sox -n -r 44100 -c 1 -b 16 "$work/mono.wav" synth 0.5 sine 440 gain -1
sox -n -r 48000 -c 2 -b 16 "$work/rate48.wav" synth 0.5 sine 440 gain -1
echo "not a wave file" >"$work/junk.wav"

# Good runs: displays first, then the levels; a -6 dBFS sine stays below the
# clipper's knee at the default settings.
expect 0 "12840.000381" "$plugin" "$work/stereo.wav" "$work/default.wav"
expect 0 "peak:        0.50" "$plugin" "$work/stereo.wav" "$work/default.wav"
expect 0 "5040.000000 Hz" "$plugin" "$work/stereo.wav" "$work/set.wav" --set Cutoff=0.5 \
  --set 3=1.0 --block 100 --format 24
expect 0 "  3  Depth                48" "$plugin" "$work/stereo.wav" "$work/deep.wav" --set 3=1.0
expect 0 "duplicating the channel" "$plugin" "$work/mono.wav" "$work/mono-out.wav"
expect 0 "48000 Hz (the file's rate" "$plugin" "$work/rate48.wav" "$work/r.wav" --rate 48000
[ "$(soxi -c "$work/mono-out.wav" 2>/dev/null)" = 2 ] || { echo "FAIL: mono input not written as stereo"; failures=$((failures + 1)); }
[ "$(soxi -b "$work/set.wav" 2>/dev/null)" = 24 ] || { echo "FAIL: --format 24 not honoured"; failures=$((failures + 1)); }

# Errors.
expect 1 "no such file" "$plugin" "$work/missing.wav" "$work/x.wav"
expect 1 "cannot read" "$plugin" "$work/junk.wav" "$work/x.wav"
expect 1 "sample rates disagree" "$plugin" "$work/rate48.wav" "$work/x.wav" --rate 44100
expect 1 "no parameter 'Bogus'" "$plugin" "$work/stereo.wav" "$work/x.wav" --set Bogus=0.5
expect 1 "no parameter '7'" "$plugin" "$work/stereo.wav" "$work/x.wav" --set 7=0.5
expect 2 "bad --set" "$plugin" "$work/stereo.wav" "$work/x.wav" --set Cutoff
expect 2 "bad --set" "$plugin" "$work/stereo.wav" "$work/x.wav" --set Cutoff=inf
expect 2 "bad --block" "$plugin" "$work/stereo.wav" "$work/x.wav" --block 0
expect 2 "bad --format" "$plugin" "$work/stereo.wav" "$work/x.wav" --format 8
expect 2 "usage" "$plugin" "$work/stereo.wav"
expect 1 "cannot load" "$bin/no-such-plugin.so" "$work/stereo.wav" "$work/x.wav"
# The test effect takes one input: a stereo file is refused, not mixed down.
expect 1 "refusing to guess" "$bin/testeffect.so" "$work/stereo.wav" "$work/x.wav"
[ ! -e "$work/x.wav" ] || { echo "FAIL: a failed run wrote its output"; failures=$((failures + 1)); }

if [ "$failures" -ne 0 ]; then
  echo "test-filter-cli: $failures check(s) failed"
  exit 1
fi
echo "test-filter-cli: all checks passed"
