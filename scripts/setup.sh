#!/bin/sh
# Installs what the project needs on a fresh Debian 12 machine (run as root).
# Safe to run again: apt-get skips what is already there.
set -e
PACKAGES="cmake ninja-build g++ g++-multilib clang libclang-rt-14-dev llvm googletest pkg-config file \
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools \
  wine wine64 xvfb xauth libsndfile1-dev libsmf-dev sox ardour amsynth clang-format \
  python3 python3-markdown fp-utils libchm-bin python3-cairo fonts-dejavu-core \
  libbenchmark-dev libcli11-dev zynaddsubfx-vst valgrind linux-perf dpkg-dev"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends $missing
fi
