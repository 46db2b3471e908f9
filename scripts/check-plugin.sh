#!/usr/bin/env bash
# Builds the real Linux module — the module's sources linked with the application vendor's R21
# frameworks (plugin/CMakeLists.txt) — in build-plugin/, with the adapter that presents the stand-in
# host to it through the application's interface (adapter/), and checks it:
#  1. it exports exactly c4d_main, g_maxon and g_CpuYieldDelegate;
#  2. the adapter's own tests pass (refusals, named traps, the kernel's memory and strings);
#  3. the differential check: the demo, the guided tour and a run of every command through
#     gemlith-host give byte for byte the same reports, scenes, undo lists and preferences with the
#     real module as with the stand-in module of build/; every scenario test and the sequence
#     tester's fixed seeds pass with the real module. Any trap (an entry the adapter does not
#     provide) aborts with its name and fails the check.
#   scripts/check-plugin.sh [SDK folder]      (else $GEMLITH_C4D_SDK, else ../shared/sdk/r21)
# GEMLITH_PLUGIN_SEEDS: the sequence tester's seeds for the real module (default 300).
set -euo pipefail
cd "$(dirname "$0")/.."
sdk="${1:-${GEMLITH_C4D_SDK:-$PWD/../shared/sdk/r21}}"
if [ ! -f "$sdk/frameworks/cinema.framework/source/c4d.h" ]; then
  echo "check-plugin: no R21 SDK at '$sdk' (see scripts/check-sdk.sh for where to get one)" >&2
  exit 2
fi
sdk="$(cd "$sdk" && pwd)"
bash scripts/deps.sh

cmake -S plugin -B build-plugin -G Ninja -DGEMLITH_C4D_SDK="$sdk" >/dev/null
cmake --build build-plugin -j "$(getconf _NPROCESSORS_ONLN)" --target gemlith_r21 gemlith_adapter adapter_test
module=build-plugin/gemlith_r21.xso64

exports="$(nm -D --defined-only "$module" | awk '{print $NF}' | sort | tr '\n' ' ')"
if [ "$exports" != "c4d_main g_CpuYieldDelegate g_maxon " ]; then
  echo "check-plugin: $module exports '$exports', not exactly c4d_main g_CpuYieldDelegate g_maxon" >&2
  exit 1
fi
echo "check-plugin: $module: exports ${exports% }"

echo "== The adapter's tests"
build-plugin/adapter/adapter_test --gtest_brief=1

# The stand-in module and gemlith-host of the normal build, to compare with.
if [ ! -x build/bin/gemlith-host ] || [ ! -x build/bin/scenario_tests ]; then
  cmake --preset default >/dev/null
fi
cmake --build build -j "$(getconf _NPROCESSORS_ONLN)" --target gemlith gemlith-host scenario_tests reliability_tests

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
host=$PWD/build/bin/gemlith-host
real=$PWD/$module
printf '#!/bin/sh\nexec "%s" --module "%s" "$@"\n' "$host" "$real" >"$work/host-real"
chmod +x "$work/host-real"

# One run with each module: the reports (the first line names the module file, which differs), the
# output scene and the preferences must be the same bytes.
compare() {  # NAME HOST-ARGS...
  local name=$1
  shift
  local side
  for side in standin real; do
    mkdir -p "$work/$side/$name"
    local h=$host
    [ "$side" = real ] && h=$work/host-real
    (cd "$work/$side/$name" && XDG_CONFIG_HOME="$work/$side/$name/config" "$h" "$@") \
      >"$work/$side/$name/report" 2>"$work/$side/$name/err" || echo "exit status $?" >>"$work/$side/$name/err"
    sed -i '1{/^Loaded /d}' "$work/$side/$name/report"
  done
  if ! diff -r "$work/standin/$name" "$work/real/$name" >"$work/$name.diff"; then
    fail "$name: the real module differs from the stand-in module:"
    head -40 "$work/$name.diff" >&2
  else
    echo "$name: the same with both modules"
  fi
}

echo "== Differential check"
compare demo
compare demo-json --json
text='Ünï Ωμέγα 漢字 🙂'
compare commands --json --prefs prefs.json --out out.json menu select=cube run=select select=cube \
  keys=shift run=rename keys=none select=crate,cube keys=ctrl run=create select=cube-b,cube-c \
  "rename=$text" run=split keys=none select=cube-a run=swap select=chain keys=ctrl \
  run=make-editable keys=none select=cube-b,cube-c run=frame-objects run=frame-elements undo undo \
  redo run=settings settings=1 close-settings run=settings settings=2 close-settings select=cube \
  run=create call=swap undo
for side in standin real; do
  mkdir -p "$work/$side/tour"
  h=$host
  [ "$side" = real ] && h=$work/host-real
  sh tools/gemlith-host/tour.sh "$h" 2>&1 | sed '1{/^Loaded /d}' >"$work/$side/tour/report"
done
if diff "$work/standin/tour/report" "$work/real/tour/report" >"$work/tour.diff"; then
  echo "tour: the same with both modules"
else
  fail "tour: the real module differs from the stand-in module:"
  head -40 "$work/tour.diff" >&2
fi

# The suites that drive the module from outside, with the real module in place of the linked one.
echo "== Scenario tests with the real module"
GEMLITH_TEST_MODULE=$real build/bin/scenario_tests --gtest_brief=1 || fail "scenario tests"
echo "== The sequence tester's fixed seeds with the real module"
GEMLITH_TEST_MODULE=$real GEMLITH_SEEDS=${GEMLITH_PLUGIN_SEEDS:-300} build/bin/reliability_tests \
  --gtest_brief=1 --gtest_filter='Reliability.FixedSeeds*:Reproduction.*' || fail "sequence tester"

if [ "$failures" -ne 0 ]; then
  echo "check-plugin: $failures failure(s)" >&2
  exit 1
fi
echo "check-plugin: $module: exports ${exports% }; driven through the adapter, the same as the stand-in module"
