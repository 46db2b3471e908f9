#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those the machine lacks.
#   scripts/deps.sh           the native build, its tests and benchmarks
#   scripts/deps.sh fuzz      the fuzz targets: clang with libFuzzer and the sanitizer runtimes
#   scripts/deps.sh windows   the Windows cross-build: MinGW-w64, Wine, GoogleTest's sources
set -euo pipefail
group="${1:-native}"
if [ "$(uname -s)" = Darwin ]; then
  # macOS: the same libraries from Homebrew (x86-64 Homebrew under Rosetta on Apple silicon: the
  # whole tree is built for x86-64, see CMakeLists.txt). The compiler is Xcode's.
  for f in cmake ninja googletest google-benchmark nlohmann-json libtiff libpng pkg-config; do
    brew list --formula "$f" >/dev/null 2>&1 || brew install "$f"
  done
  exit 0
fi
case "$group" in
  native)
    packages=(cmake ninja-build g++ clang libgtest-dev libgmock-dev libbenchmark-dev
              nlohmann-json3-dev libtiff-dev libpng-dev pkg-config python3) ;;
  fuzz)
    packages=(cmake clang libclang-rt-dev nlohmann-json3-dev libtiff-dev pkg-config) ;;
  windows)
    packages=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
              googletest nlohmann-json3-dev) ;;
  *)
    echo "scripts/deps.sh: unknown group '$group' (native, fuzz or windows)" >&2
    exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
