#!/usr/bin/env bash
# Builds the real Linux module — the module's sources linked with the application vendor's R21
# frameworks (plugin/CMakeLists.txt) — in build-plugin/, and checks it: it exports exactly c4d_main,
# g_maxon and g_CpuYieldDelegate, and it loads with dlopen, which finds c4d_main. It cannot be
# driven: its calls go to the application's own tables, which our stand-in host does not have.
#   scripts/check-plugin.sh [SDK folder]      (else $GEMLITH_C4D_SDK, else ../shared/sdk/r21)
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
cmake --build build-plugin -j "$(getconf _NPROCESSORS_ONLN)"
module=build-plugin/gemlith_r21.xso64

exports="$(nm -D --defined-only "$module" | awk '{print $NF}' | sort | tr '\n' ' ')"
if [ "$exports" != "c4d_main g_CpuYieldDelegate g_maxon " ]; then
  echo "check-plugin: $module exports '$exports', not exactly c4d_main g_CpuYieldDelegate g_maxon" >&2
  exit 1
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cat > "$work/load.cpp" <<'CPP'
#include <dlfcn.h>
#include <cstdio>
int main(int argc, char** argv) {
  if (argc != 2) return 2;
  void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!module) { std::fprintf(stderr, "%s\n", dlerror()); return 1; }
  if (!dlsym(module, "c4d_main")) { std::fprintf(stderr, "no c4d_main\n"); return 1; }
  return 0;
}
CPP
g++ -o "$work/load" "$work/load.cpp" -ldl
if ! "$work/load" "$PWD/$module"; then
  echo "check-plugin: $module does not load" >&2
  exit 1
fi
echo "check-plugin: $module: exports ${exports% }; loads, c4d_main found"
