# Cross-compiling for Windows x86-64 with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix).
#
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake
#
# The POSIX thread flavour of the compiler is used: the win32 flavour of GCC 12 has no std::mutex.
# Everything is linked statically (libgcc, libstdc++, winpthread), so the module file and the
# programs need no MinGW DLL beside them — neither on Windows nor under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GEMLITH_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GEMLITH_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GEMLITH_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GEMLITH_MINGW_TRIPLE}-windres)

# Headers and libraries come from the MinGW sysroot only; programs (the build tools) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${GEMLITH_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine (gtest discovery included, when it is done at build time).
find_program(GEMLITH_WINE NAMES wine wine64)
if(GEMLITH_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${GEMLITH_WINE})
endif()

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# What only this build needs: GoogleTest from source, nlohmann-json's portable headers (see there).
set(CMAKE_PROJECT_gemlith_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/mingw64-deps.cmake)
