#!/usr/bin/env bash
# Builds everything and runs every test.
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."

mode=normal
[ "${1:-}" = "--sanitize" ] && mode=sanitize

bash scripts/install-deps.sh

werror=OFF
[ -n "${CI:-}" ] && werror=ON

if [ "$mode" = sanitize ]; then
  dir=build-asan
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRAYSKETCHER_SANITIZE=ON \
        -DRAYSKETCHER_WERROR="$werror" -DRAYSKETCHER_BENCH=OFF
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir=build
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAYSKETCHER_WERROR="$werror"
fi
cmake --build "$dir" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"
