#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those the machine lacks.
set -euo pipefail
if [ "$(uname -s)" = Darwin ]; then
  # macOS: the same libraries from Homebrew (x86-64 Homebrew under Rosetta on Apple silicon: the
  # whole tree is built for x86-64, see CMakeLists.txt). The compiler is Xcode's.
  for f in cmake ninja googletest google-benchmark nlohmann-json libtiff pkg-config; do
    brew list --formula "$f" >/dev/null 2>&1 || brew install "$f"
  done
  exit 0
fi
packages=(cmake ninja-build g++ clang libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libtiff-dev pkg-config)
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
