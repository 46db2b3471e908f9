#!/usr/bin/env bash
# Builds gemlith_bench as a Release build (-O2) in build-bench/ and runs every benchmark on scenes
# of 10^3 to 10^6 objects; the Markdown summary at the end is the table of the README.
#   bash bench/run.sh                                     everything (a few minutes)
#   bash bench/run.sh --benchmark_filter=Select           some of it (any Google Benchmark flag)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

cores=$(nproc 2>/dev/null || sysctl -n hw.ncpu 2>/dev/null || echo 2)
cpu=$(grep -m1 'model name' /proc/cpuinfo 2>/dev/null | cut -d: -f2 | sed 's/^ *//' ||
      sysctl -n machdep.cpu.brand_string 2>/dev/null || echo unknown)
load() { cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || uptime; }

cmake --preset bench >/dev/null  # CMakePresets.json
cmake --build build-bench --target gemlith_bench -j "$cores"

echo "machine: $cores cores, $cpu, load average before the run: $(load)"
# Three repetitions of each benchmark; the summary gives their medians.
build-bench/bin/gemlith_bench --benchmark_min_time=0.1 --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true "$@"
echo "load average after the run: $(load)"
