#!/usr/bin/env bash
# Compiles every .cpp file of the module (source/) against the application's own R21 SDK headers,
# once with GCC and once with Clang, with the SDK's Linux settings. Nothing is linked; the objects
# go to a temporary folder.
#   scripts/check-sdk.sh [SDK folder]
# The SDK folder is the one that holds frameworks/ (cinema.framework, core.framework,
# mesh_misc.framework): the argument, else $GEMLITH_C4D_SDK, else ../shared/sdk/r21 beside this tree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
sdk="${1:-${GEMLITH_C4D_SDK:-$root/../shared/sdk/r21}}"
fw="$sdk/frameworks"
if [ ! -f "$fw/cinema.framework/source/c4d.h" ]; then
  cat >&2 <<MSG
check-sdk: no R21 SDK at '$sdk' (looked for frameworks/cinema.framework/source/c4d.h).
The SDK comes with the application (the sdk.zip in its installation folder) and from the vendor's
developer site. Unpack it and name the folder that holds frameworks/:
  scripts/check-sdk.sh /path/to/sdk      or      GEMLITH_C4D_SDK=/path/to/sdk scripts/check-sdk.sh
MSG
  exit 2
fi

# The SDK's headers are system headers: its own warnings are not ours to fix.
inc=(-isystem "$fw/cinema.framework/generated/hxx"
     -isystem "$fw/core.framework/source" -isystem "$fw/core.framework/generated/hxx"
     -isystem "$fw/mesh_misc.framework/source" -isystem "$fw/mesh_misc.framework/generated/hxx")
while IFS= read -r d; do inc+=(-isystem "$d"); done < <(find "$fw/cinema.framework/source" -type d | sort)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# What the vendor's project tool generates for a module; the only input besides the tree and the SDK.
cat > "$work/project_defines.h" <<'DEFS'
#define USE_API_MAXON
#define MAXON_MODULE_ID "net.gemlith.instances"
DEFS

ours=(-I "$root/source" -I "$root/res" -include "$work/project_defines.h" -Wall -Wextra -Werror)
# The SDK's Linux settings (frameworks/settings/linux_gcc_x86_base.props), position-independent
# code as for any module.
gcc_flags=(-std=gnu++14 -D_GLIBCXX_USE_CXX11_ABI=0 -Wno-maybe-uninitialized -fPIC)
clang_flags=(-std=c++14 -D_GLIBCXX_USE_CXX11_ABI=0 -fPIC)

mapfile -t files < <(cd "$root" && find source -name '*.cpp' | sort)
failed=0
for compiler in g++ clang++; do
  command -v "$compiler" >/dev/null || { echo "check-sdk: $compiler is not installed" >&2; exit 2; }
  if [ "$compiler" = g++ ]; then flags=("${gcc_flags[@]}"); else flags=("${clang_flags[@]}"); fi
  ok=0
  for f in "${files[@]}"; do
    obj="$work/$compiler/${f%.cpp}.o"
    mkdir -p "$(dirname "$obj")"
    if "$compiler" "${flags[@]}" "${ours[@]}" "${inc[@]}" -c "$root/$f" -o "$obj" 2> "$work/err"; then
      ok=$((ok + 1))
    else
      echo "check-sdk: $compiler: $f does not compile:" >&2
      head -n 40 "$work/err" >&2
      failed=1
    fi
  done
  echo "check-sdk: $compiler ${flags[*]}: $ok of ${#files[@]} files compile against $sdk"
done
exit $failed
