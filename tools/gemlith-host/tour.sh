#!/bin/sh
# A short guided tour of the module on gemlith-host's demo scene: a few menu picks with their
# modifier keys, the scene tree after each, and an undo at the end.
#
# usage: tools/gemlith-host/tour.sh [BUILD_DIR | PATH_TO_GEMLITH_HOST]    (default: build)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
arg=${1:-build}
if [ -f "$arg" ] && [ -x "$arg" ]; then
  host=$arg
elif [ -x "$arg/bin/gemlith-host" ]; then
  host=$arg/bin/gemlith-host
else
  host=$here/../../$arg/bin/gemlith-host
fi
if [ ! -x "$host" ]; then
  echo "tour.sh: gemlith-host not found; build first (cmake -B build && cmake --build build)" >&2
  exit 1
fi

# The tour keeps its preferences to itself: a fresh file, so new instances get mode 0.
prefs=$(mktemp -d)/prefs.json
trap 'rm -rf "$(dirname "$prefs")"' EXIT

exec "$host" --prefs "$prefs" \
  "note=The demo scene. [n] marks the selection order, <key> the object's key, → a link." \
  tree menu \
  "note=Select on the Cube: all instances of the Cube get selected (not the Chain, which shows Cube instance A)." \
  select=cube run=select tree \
  "note=Rename with Shift: the Cube's instances are named after it and numbered in scene order." \
  select=cube keys=shift run=rename keys=none tree \
  "note=Create with Ctrl: the Crate is replaced by an instance of the Cube, which was selected last." \
  select=crate,cube keys=ctrl run=create keys=none tree \
  "note=Swap on cube-a (now named Cube.1): the instance takes the Cube's place, and a copy of the Cube takes the instance's; every link to the Cube now names the copy." \
  select=cube-a run=swap tree \
  "note=Make editable with Ctrl on the Chain: it becomes a full copy of the object at the end of its chain." \
  select=chain keys=ctrl run=make-editable keys=none tree \
  "note=Undo: the last step, Make editable, is taken back." \
  undo tree
