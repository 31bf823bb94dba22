#!/bin/sh
# Short libFuzzer runs of every fuzz target, starting from the committed
# corpora. FUZZ_SECONDS sets each run's length (default 60). Any crash,
# sanitizer report or non-finite output fails the run; the input that did it
# is left in build/fuzz/crashes/.
set -e
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzzers
mkdir -p build/fuzz/crashes
passed=0
for target in build/fuzz/bin/fuzz_*; do
  name=$(basename "$target" | sed 's/^fuzz_//')
  corpus="fuzz/corpus/$name"
  work="build/fuzz/work/$name"
  mkdir -p "$work" "$corpus"
  echo "fuzz: $name for ${seconds}s"
  if ! "$target" -seed=1 -max_total_time="$seconds" -max_len=8192 -timeout=20 -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="build/fuzz/crashes/$name-" \
      "$work" "$corpus" >"build/fuzz/$name.log" 2>&1; then
    tail -40 "build/fuzz/$name.log"
    echo "fuzz: $name FAILED (see build/fuzz/crashes/)"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units' "build/fuzz/$name.log" || true
  passed=$((passed + 1))
done
echo "fuzz: $passed passed, 0 failed"
