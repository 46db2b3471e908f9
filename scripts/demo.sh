#!/usr/bin/env bash
# Builds the module and gemlith-host, shows the menu and the demo scene, then takes a short tour.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(getconf _NPROCESSORS_ONLN)" --target gemlith gemlith-host
# Keep the demo's preferences out of the user's own.
export XDG_CONFIG_HOME="$PWD/build/demo-config"
build/bin/gemlith-host
if [ -x tools/gemlith-host/tour.sh ] || [ -f tools/gemlith-host/tour.sh ]; then
  bash tools/gemlith-host/tour.sh build/bin/gemlith-host
fi
