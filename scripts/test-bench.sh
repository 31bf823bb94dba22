#!/bin/sh
# A short smoke run of the benchmarks (no timing is judged): `nimhost bench`
# over every workload of our two plug-ins and of Debian's amsynth and
# ZynAddSubFX instruments, side by side, and one quick pass of the kernel
# benchmarks. Fails when a plug-in cannot be benchmarked or puts out a
# non-finite sample. Needs the linux build.
set -e
cd "$(dirname "$0")/.."
bin=${NIMBULATOR_BIN:-build/linux/bin}
fail() { echo "test-bench: FAILED: $*" >&2; exit 1; }
[ -x "$bin/nimhost" ] || fail "$bin/nimhost is missing: build the linux preset first"
peers=""
for p in /usr/lib/vst/amsynth_vst.so /usr/lib/vst/ZynAddSubFX.so; do
  [ -f "$p" ] || fail "peer plug-in $p is missing (packages amsynth, zynaddsubfx-vst)"
  peers="$peers $p"
done
out=$(mktemp)
trap 'rm -f "$out"' EXIT
passed=0

# shellcheck disable=SC2086
"$bin/nimhost" bench "$bin/nimbulator.so" "$bin/quenvarel.so" $peers \
  --seconds 0.05 --repetitions 2 --warm-up 0.01 >"$out" 2>&1 ||
  { cat "$out"; fail "nimhost bench"; }
for workload in silence chord-8 osc64-depth2 random-4 stereo-noise-depth2; do
  grep -q "^$workload " "$out" || { cat "$out"; fail "no $workload line"; }
done
grep -q '^chord-8 .*x .*x' "$out" || { cat "$out"; fail "no side-by-side ratios"; }
passed=$((passed + 1))

if [ -x "$bin/kernel_bench" ]; then
  "$bin/kernel_bench" --benchmark_min_time=0.01 >"$out" 2>&1 || { cat "$out"; fail "kernel_bench"; }
  grep -q '^OscillatorStep/64' "$out" || { cat "$out"; fail "kernel_bench printed no oscillator step"; }
  passed=$((passed + 1))
fi
echo "test-bench: $passed passed, 0 failed"
