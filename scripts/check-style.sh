#!/usr/bin/env bash
# The house checks that need no test run: every C++ file in the committed clang-format style,
# and clang-tidy's fault-finding checks (.clang-tidy) on the computing core.
#   scripts/check-style.sh [BUILD_DIR]   BUILD_DIR holds compile_commands.json (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

mapfile -t files < <(git ls-files '*.cpp' '*.h')
echo "clang-format: ${#files[@]} files"
clang-format --dry-run -Werror "${files[@]}"

# The core: everything under src/ that is not Qt code.
mapfile -t core < <(git ls-files 'src/*.cpp' | grep -vE '^src/(gui|render|cli)/')
echo "clang-tidy: ${#core[@]} core files"
log=$(mktemp)
printf '%s\n' "${core[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet >"$log" 2>/dev/null || true
if grep -qE '(warning|error):' "$log"; then
  grep -E -A3 '(warning|error):' "$log"
  echo "clang-tidy found the faults above"
  exit 1
fi
echo "clang-tidy: clean"
