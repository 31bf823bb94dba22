#!/bin/sh
# Every C++ source follows the committed .clang-format.
set -e
cd "$(dirname "$0")/.."
if ! git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror; then
  echo "test-format: FAILED (run clang-format -i on the files above)"
  exit 1
fi
echo "test-format: 1 passed, 0 failed"
