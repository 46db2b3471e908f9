#!/usr/bin/env bash
# Builds the Windows x86-64 deliverable with MinGW-w64 and tests it under Wine:
#  1. cross-builds into build-win/: the module gemlith_r21.xdl64, the stand-in host,
#     gemlith-host.exe and every test program (statically linked: no MinGW DLL is needed);
#  2. checks the module's exports (exactly c4d_main, g_maxon, g_CpuYieldDelegate) and that it
#     imports system DLLs only;
#  3. runs every test program under Wine, then a gemlith-host run that picks every command, and
#     compares that run with the Linux build's when build/bin/gemlith-host exists.
# Fails on any failure. GEMLITH_WIN_BUILD_DIR names another build folder for this one,
# GEMLITH_LINUX_BUILD_DIR the Linux build to compare with (default build/).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dir=${GEMLITH_WIN_BUILD_DIR:-build-win}
case $dir in /*) ;; *) dir=$root/$dir ;; esac
jobs=$(getconf _NPROCESSORS_ONLN 2>/dev/null || echo 2)

# --- Debian packages: the cross compiler, Wine, GoogleTest's sources, nlohmann-json's headers.
bash scripts/deps.sh windows

# --- Wine: a prefix of our own inside the build folder, quiet, without a display, and without
# the Mono and Gecko installers (nothing here needs .NET or a browser engine).
export WINEPREFIX=$dir/wine
# Wine reads command lines and file names in the Unix locale's character set: UTF-8, so that any
# name reaches the programs (Windows' own ANSI code page stays 1252, which holds few of them).
export LC_ALL=C.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$dir"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Creating the Wine prefix"
  wineboot -i >/dev/null 2>&1
fi
# Wine's server stops by itself once the last program ends; make sure on the way out.
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

# --- Build. Test discovery is left to test time, so that building runs nothing under Wine.
echo "== Building in $dir"
cmake --preset windows -B "$dir" >/dev/null  # CMakePresets.json
cmake --build "$dir" -j "$jobs"

bin=$dir/bin
module=$bin/gemlith_r21.xdl64
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# --- The module's exports and imports.
echo "== Checking $module"
dump=$(x86_64-w64-mingw32-objdump -p "$module")
exports=$(printf '%s\n' "$dump" |
  sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' |
  sort | tr '\n' ' ')
if [ "$exports" = "c4d_main g_CpuYieldDelegate g_maxon " ]; then
  echo "exports: $exports"
else
  fail "the module exports [$exports], not exactly c4d_main g_CpuYieldDelegate g_maxon"
fi
imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')
echo "imports: $imports"
if printf '%s\n' "$imports" | grep -qiE 'lib(stdc\+\+|gcc|winpthread)'; then
  fail "the module needs a MinGW runtime DLL: $imports"
fi

# --- Every test program under Wine. Tests keep their temporary files in the build folder.
mkdir -p "$dir/tmp"
TEST_TMPDIR=$(winepath -w "$dir/tmp")
export TEST_TMPDIR
passed_total=0
failed_total=0
mapfile -t tests < <(find "$bin" -maxdepth 1 -name '*_tests.exe' | sort)
if [ ${#tests[@]} -eq 0 ]; then
  fail "no test program was built"
fi
for exe in "${tests[@]}"; do
  name=$(basename "$exe" .exe)
  log=$dir/$name.log
  echo "== $name"
  status=0
  # Windows programs end their lines with CR LF; the log keeps plain LF.
  (cd "$dir" && timeout 1800 wine "$exe" --gtest_brief=1) 2>&1 | tr -d '\r' >"$log" || status=$?
  passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -1)
  # A failed test shows as "[  FAILED  ] Suite.Name (N ms)" (the brief output has no summary of them).
  failed=$(grep -cE '^\[  FAILED  \] [^ ]+ \([0-9]+ ms\)$' "$log" || true)
  passed=${passed:-0}
  failed=${failed:-0}
  passed_total=$((passed_total + passed))
  failed_total=$((failed_total + failed))
  echo "$passed passed, $failed failed"
  if [ "$status" -ne 0 ] || [ "$failed" -ne 0 ] || [ "$passed" -eq 0 ]; then
    grep -E '^\[  FAILED  \]|Failure|error' "$log" | head -40 || true
    fail "$name (exit status $status; the whole output is in $log)"
  fi
done

# --- gemlith-host under Wine: every command of the menu, with keys, undo and redo, on the demo
# scene; the same run on the Linux build must give the same report and the same scene. The name
# typed into Split's dialog and the names of the files are in several scripts.
echo "== gemlith-host scenario run"
text='Ünï Ωμέγα 漢字 🙂'
steps=(menu select=cube run=select select=cube keys=shift run=rename keys=none
       select=crate,cube keys=ctrl run=create select=cube-b,cube-c "rename=$text" run=split keys=none
       select=cube-a run=swap select=chain keys=ctrl run=make-editable keys=none
       select=cube-b,cube-c run=frame-objects run=frame-elements undo undo redo
       run=settings settings=1 close-settings)
scenario=$dir/tmp/scenario
rm -rf "$scenario"
mkdir -p "$scenario"
status=0
(cd "$scenario" && wine "$bin/gemlith-host.exe" --json --prefs "prefs $text.json" \
  --out "windows $text.json" "${steps[@]}") \
  >"$scenario/windows.txt" 2>"$scenario/windows.err" || status=$?
tr -d '\r' <"$scenario/windows.txt" >"$scenario/windows.report"
runs=$(grep -c '"step":"run"' "$scenario/windows.report" || true)
clean=$(grep '"step":"run"' "$scenario/windows.report" | grep -c '"result":true.*"coding_errors":\[\]' || true)
icons=$(grep '"step":"menu"' "$scenario/windows.report" | grep -o '"icon":true' | wc -l)
if [ "$status" -ne 0 ]; then
  fail "gemlith-host.exe ended with status $status: $(cat "$scenario/windows.err")"
elif ! head -1 "$scenario/windows.report" | grep -q '"step":"load","result":1,"registered":10'; then
  fail "gemlith-host.exe did not load the module: $(head -1 "$scenario/windows.report")"
elif [ "$runs" -ne 9 ] || [ "$clean" -ne "$runs" ]; then
  fail "of $runs commands run, $clean succeeded without coding errors (see $scenario/windows.report)"
elif [ "$icons" -ne 9 ]; then
  fail "the menu shows $icons icons, not 9 (see $scenario/windows.report)"
else
  echo "the module loaded, its 9 icons decoded, its 9 commands ran, undo and redo worked"
fi
native=${GEMLITH_LINUX_BUILD_DIR:-$root/build}/bin/gemlith-host
if [ -x "$native" ]; then
  (cd "$scenario" && "$native" --json --prefs "prefs-linux $text.json" --out "linux $text.json" \
    "${steps[@]}") >"$scenario/linux.report" 2>"$scenario/linux.err" ||
    fail "the Linux gemlith-host failed"
  if cmp -s "$scenario/windows.report" "$scenario/linux.report" &&
     cmp -s "$scenario/windows $text.json" "$scenario/linux $text.json" &&
     cmp -s "$scenario/prefs $text.json" "$scenario/prefs-linux $text.json"; then
    echo "the same run on Linux gives the same report, scene and preferences"
  else
    diff "$scenario/linux.report" "$scenario/windows.report" | head -20 || true
    fail "the Windows and Linux runs differ (see $scenario)"
  fi
else
  echo "(no Linux build in build/: the comparison with it is skipped)"
fi

echo "== Windows: module, exports and tests under Wine"
echo "windows: $passed_total passed, $failed_total failed"
if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
