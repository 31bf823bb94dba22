#!/bin/sh
# Soak runs of both plug-ins through the harness: random automation, program
# changes, chunk reloads (some damaged), note storms and all-notes-off over a
# long render. SOAK_SECONDS of audio per plug-in on the native build (default
# 600; an hour is `SOAK_SECONDS=3600`), and a shorter run on the sanitized
# build. Fails on any non-finite sample, a peak above full scale (both
# plug-ins end in a clipper and a gain of at most 1) or a sanitizer report.
set -e
cd "$(dirname "$0")/.."
seconds="${SOAK_SECONDS:-600}"
passed=0
for build in linux sanitize; do
  bin="build/$build/bin"
  [ -x "$bin/nimhost" ] || { echo "test-soak: $bin/nimhost is not built"; exit 1; }
  length=$seconds
  [ "$build" = sanitize ] && length=$((seconds / 10))
  for plugin in nimbulator quenvarel; do
    echo "test-soak: $plugin ($build build, ${length}s of audio)"
    "$bin/nimhost" soak "$bin/$plugin.so" --seconds "$length" --seed 7 --max-peak 1.0 2>/dev/null ||
      { echo "test-soak: $plugin FAILED on the $build build"; exit 1; }
    passed=$((passed + 1))
  done
done
echo "test-soak: $passed passed, 0 failed"
