#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-fuzz/ and runs each for SECONDS (default 60) on its seed corpus in fuzz/corpus/.
#
#   bash fuzz/run.sh 60          # about two minutes in all, as CI runs it
#   bash fuzz/run.sh 1800        # a longer run by hand
#
# New inputs found during a run go to a scratch folder, not into the committed corpus. A finding
# stops the run with the target's report and leaves the input as build-fuzz/crash-* (or leak-*,
# timeout-*); replay it with `build-fuzz/bin/fuzz_<target> FILE`.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${GEMLITH_FUZZ_BUILD:-$root/build-fuzz}"
jobs="${GEMLITH_JOBS:-2}"
bash "$root/scripts/deps.sh" fuzz

# The "fuzz" preset of CMakePresets.json: the libraries under test get coverage and sanitizers too;
# the targets add the fuzzer's main.
(cd "$root" && cmake --preset fuzz -B "$build" >/dev/null)
cmake --build "$build" -j "$jobs" --target fuzz_scene_reader fuzz_resource_reader

run() {
  local target="$1" dict="$2"
  local scratch
  scratch="$(mktemp -d)"
  echo "== fuzz_$target for ${seconds} s"
  (cd "$build" && "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 -dict="$root/fuzz/$dict" \
      "$scratch" "$root/fuzz/corpus/$target")
  rm -rf "$scratch"
}

run scene_reader scene.dict
run resource_reader resource.dict
echo "fuzzing found nothing in ${seconds} s per target"
