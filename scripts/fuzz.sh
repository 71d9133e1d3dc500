#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang in build-fuzz/ and runs each for a bounded time,
# starting from the seed corpus in fuzz/corpus/. Any crash, sanitizer report, leak or timeout
# fails the script; the input that caused it is left in build-fuzz/findings/.
#   scripts/fuzz.sh [SECONDS per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build=build-fuzz

bash scripts/install-deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -DRAYSKETCHER_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"

findings="$build/findings"
mkdir -p "$findings"
status=0
for target in settings typed_number catalogue wavelengths cli sweep settings_roundtrip; do
  # The seeds stay as they are; what the run learns goes to a working corpus of the build.
  work="$build/corpus/$target"
  mkdir -p "$work"
  echo "== fuzz_$target: $seconds s"
  if ! "$build/fuzz/fuzz_$target" "$work" "fuzz/corpus/$target" -max_total_time="$seconds" \
      -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" 2>"$build/fuzz_$target.log"; then
    echo "fuzz_$target found a fault; the input is in $findings/ (log: $build/fuzz_$target.log):"
    grep -E "ERROR|runtime error|SUMMARY|Test unit written" "$build/fuzz_$target.log" | head -20
    status=1
  else
    grep -E "stat::number_of_executed_units|stat::new_units_added" "$build/fuzz_$target.log" || true
  fi
done
exit $status
