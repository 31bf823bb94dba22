#!/bin/sh
# `nimhost export` end to end: a program, a factory preset, a random patch
# and a preset file read back into a program are written as 1908-byte
# records equal to what the instrument holds; bad sources, programs and
# plug-ins are refused with a reason and write nothing.
# BUILD_DIR selects another build tree (default build/linux).
set -e
cd "$(dirname "$0")/.."
bin="${BUILD_DIR:-build/linux}/bin"
nimhost="$bin/nimhost"
plugin="$bin/nimbulator.so"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

. scripts/cli-expect.sh
# expect CODE PATTERN ARGS...: `nimhost export ARGS` exits with CODE and prints PATTERN.
expect() { expect_nimhost export "$@"; }

size() { wc -c <"$1" | tr -d ' '; }

expect 0 'program 2 "new patch #3": 1908 bytes' "$plugin" --program 2 -o "$work/p3.NBP"
[ "$(size "$work/p3.NBP")" = 1908 ] || fail "a program's file is not 1908 bytes"
# The name, its terminator and zero bytes fill the first 24 bytes.
printf 'new patch #3\000\000\000\000\000\000\000\000\000\000\000\000' >"$work/name"
head -c 24 "$work/p3.NBP" | cmp -s - "$work/name" || fail "the record does not start with its name"

expect 0 '"Wobble Bass"' "$plugin" --preset "Wobble Bass" --program 31 -o "$work/wobble.NBP"
cmp -s "$work/wobble.NBP" "$bin/presets/Wobble Bass.NBP" ||
  fail "an exported factory preset differs from its preset file"

# A file read back into another program comes out unchanged.
expect 0 'program 7 "Wobble Bass"' "$plugin" --patch "$work/wobble.NBP" --program 7 \
  -o "$work/again.NBP"
cmp -s "$work/wobble.NBP" "$work/again.NBP" || fail "a preset file read back changed"

# A random patch exported plays as that random patch does.
expect 0 '"random patch #1A2B"' "$plugin" --random 6699 -o "$work/random.NBP"
if "$nimhost" render "$plugin" --random 6699 --rate 22050 --seconds 1 -o "$work/a.wav" >/dev/null &&
  "$nimhost" render "$plugin" --patch "$work/random.NBP" --rate 22050 --seconds 1 \
    -o "$work/b.wav" >/dev/null; then
  cmp -s "$work/a.wav" "$work/b.wav" || fail "the exported random patch renders differently"
else
  fail "render of the random patch or its file failed"
fi

head -c 1907 "$work/wobble.NBP" >"$work/short.NBP"
expect 1 "not a 1908-byte program record" "$plugin" --patch "$work/short.NBP" -o "$work/x.NBP"
expect 1 "cannot open patch file" "$plugin" --patch "$work/none.NBP" -o "$work/x.NBP"
expect 1 "no factory preset 'Wobble'" "$plugin" --preset Wobble -o "$work/x.NBP"
expect 1 "has 32 programs" "$plugin" --program 32 -o "$work/x.NBP"
expect 1 "keeps no program chunks" "$bin/quenvarel.so" -o "$work/x.NBP"
expect 2 "give one of" "$plugin" --preset Brass --random 7 -o "$work/x.NBP"
expect 2 "bad --program" "$plugin" --program -1 -o "$work/x.NBP"
expect 2 "output" "$plugin" -o "$work/no/such/folder.NBP"
[ ! -e "$work/x.NBP" ] || fail "a failed run wrote its output"

if [ "$failures" -ne 0 ]; then
  echo "test-export-cli: $failures check(s) failed"
  exit 1
fi
echo "test-export-cli: all checks passed"
