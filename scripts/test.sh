#!/usr/bin/env bash
# Builds everything from scratch and runs every test.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   the AddressSanitizer + UndefinedBehaviorSanitizer build, in build-san/
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

# The builds are the presets of CMakePresets.json: "default" in build/, "sanitize" in build-san/.
preset=default
dir=build
if [ "${1:-}" = "--sanitize" ]; then
  preset=sanitize
  dir=build-san
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake --preset "$preset"
cmake --build "$dir" -j "$(getconf _NPROCESSORS_ONLN)"
ctest --test-dir "$dir" --output-on-failure -j "$(getconf _NPROCESSORS_ONLN)"
