#!/bin/sh
# `nimhost render --preset NAME` end to end: a factory preset plays from the
# preset file the build wrote, exactly as that file given with --patch does;
# unknown names and conflicting program options are refused.
# BUILD_DIR selects another build tree (default build/linux).
set -e
cd "$(dirname "$0")/.."
bin="${BUILD_DIR:-build/linux}/bin"
nimhost="$bin/nimhost"
plugin="$bin/nimbulator.so"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

. scripts/cli-expect.sh
# expect CODE PATTERN ARGS...: `nimhost render ARGS` exits with CODE and prints PATTERN.
expect() { expect_nimhost render "$@"; }

expect 0 "peak" "$plugin" --preset "Wobble Bass" --rate 22050 --seconds 1 -o "$work/preset.wav"
expect 0 "peak" "$plugin" --patch "$bin/presets/Wobble Bass.NBP" --rate 22050 --seconds 1 \
  -o "$work/patch.wav"
cmp -s "$work/preset.wav" "$work/patch.wav" ||
  { echo "FAIL: --preset and --patch of its file render differently"; failures=$((failures + 1)); }
expect 0 "peak" "$plugin" --preset "Passing Gust" --rate 22050 --seconds 1 -o "$work/gust.wav"
cmp -s "$work/preset.wav" "$work/gust.wav" &&
  { echo "FAIL: two presets render alike"; failures=$((failures + 1)); }

expect 1 "no factory preset 'Wobble'" "$plugin" --preset Wobble -o "$work/x.wav"
expect 2 "give one of" "$plugin" --preset Brass --random 7 -o "$work/x.wav"
expect 2 "give one of" "$plugin" --preset Brass --patch "$bin/presets/Brass.NBP" -o "$work/x.wav"
expect 2 "needs a value" "$plugin" -o "$work/x.wav" --preset
[ ! -e "$work/x.wav" ] || { echo "FAIL: a failed run wrote its output"; failures=$((failures + 1)); }

if [ "$failures" -ne 0 ]; then
  echo "test-preset-cli: $failures check(s) failed"
  exit 1
fi
echo "test-preset-cli: all checks passed"
