#!/bin/sh
# nimhost's command line: help for the host and for every command, and bad
# arguments refused with the reason and exit code 2 before any plug-in is
# loaded or any audio rendered (an output that cannot be written included).
# BUILD_DIR selects another build tree (default build/linux).
set -e
cd "$(dirname "$0")/.."
bin="${BUILD_DIR:-build/linux}/bin"
nimhost="$bin/nimhost"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
checks=0

# expect CODE PATTERN ARGS...: runs nimhost, checks the exit code and that
# the combined output contains PATTERN.
expect() {
  code="$1" pattern="$2"
  shift 2
  checks=$((checks + 1))
  set +e
  "$nimhost" "$@" >"$work/out.txt" 2>&1
  got=$?
  set -e
  if [ "$got" -ne "$code" ] || ! grep -q -- "$pattern" "$work/out.txt"; then
    echo "FAIL: nimhost $* -> exit $got (wanted $code and '$pattern'):"
    sed 's/^/    /' "$work/out.txt"
    failures=$((failures + 1))
  fi
}

expect 0 "Subcommands" --help
for command in info soak process render bench; do
  expect 0 "Usage: nimhost $command" "$command" --help
done
expect 2 "A subcommand is required"
expect 2 "unknown command 'frobnicate'" frobnicate
expect 2 "PLUGIN is required" info
expect 2 "bad --block '0'" render "$bin/nimbulator.so" --block 0 -o "$work/a.wav"
expect 2 "bad --rate 'fast'" render "$bin/nimbulator.so" --rate fast -o "$work/a.wav"
expect 2 "bad --format '8'" render "$bin/nimbulator.so" --format 8 -o "$work/a.wav"
expect 2 "give one of" render "$bin/nimbulator.so" --patch p.bin --random 3 -o "$work/a.wav"
expect 2 "output is required" render "$bin/nimbulator.so"
expect 2 "cannot write $work/missing/a.wav: no folder" render "$bin/nimbulator.so" \
  -o "$work/missing/a.wav"
expect 2 "a folder, not a file" render "$bin/nimbulator.so" -o "$work"
expect 2 "cannot write" process "$bin/quenvarel.so" in.wav "$work/missing/b.wav"
expect 2 "bad --seconds '-1'" soak "$bin/nimbulator.so" --seconds -1
expect 2 "bad --repetitions '0'" bench "$bin/nimbulator.so" --repetitions 0
expect 2 "bad --max-block '70000'" soak "$bin/nimbulator.so" --max-block 70000
# Refused before rendering: nothing was written and no progress shown.
[ ! -e "$work/a.wav" ] || { echo "FAIL: a refused render wrote its output"; failures=$((failures + 1)); }
checks=$((checks + 1))

if [ "$failures" -ne 0 ]; then
  echo "test-cli: $failures of $checks checks failed"
  exit 1
fi
echo "test-cli: $checks passed, 0 failed"
