# The Windows build's own dependencies, included right after the top-level project() (the MinGW
# toolchain file hooks it in). Debian packages GoogleTest and nlohmann-json for Linux only, so:
#  - GoogleTest is built from its source package (/usr/src/googletest, package `googletest`) with
#    the cross compiler;
#  - nlohmann-json is header-only and portable: its Debian headers are used as they are.
# find_package() for both is answered from CMake's redirect folder, so the project's CMakeLists
# files stay the same for every platform.
include_guard(GLOBAL)

set(GEMLITH_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian: googletest)")
set(GEMLITH_JSON_HEADER /usr/include/nlohmann/json.hpp CACHE FILEPATH
    "nlohmann/json.hpp (Debian: nlohmann-json3-dev)")

if(NOT DEFINED CMAKE_FIND_PACKAGE_REDIRECTS_DIR)
  message(FATAL_ERROR "CMake 3.24 or newer is needed for the Windows build")
endif()

# GoogleTest, outside the project's warning flags (they are set after this file runs).
if(NOT DEFINED GEMLITH_TESTS OR GEMLITH_TESTS)  # the option is declared after this file runs
  if(NOT EXISTS ${GEMLITH_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${GEMLITH_GTEST_SOURCE} "
                        "(apt-get install googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${GEMLITH_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/gtest-config.cmake
       "# GoogleTest is built in this tree (cmake/mingw64-deps.cmake).\n"
       "set(GTest_FOUND TRUE)\n")
endif()

# nlohmann-json: a folder that holds only nlohmann/ (a link to the Debian headers), so that the
# rest of /usr/include — the Linux system headers — never comes into the include path.
get_filename_component(_gemlith_json_dir ${GEMLITH_JSON_HEADER} DIRECTORY)
if(NOT EXISTS ${GEMLITH_JSON_HEADER})
  message(FATAL_ERROR "${GEMLITH_JSON_HEADER} not found (apt-get install nlohmann-json3-dev)")
endif()
set(_gemlith_json_root ${CMAKE_BINARY_DIR}/nlohmann-json/include)
file(MAKE_DIRECTORY ${_gemlith_json_root})
file(CREATE_LINK ${_gemlith_json_dir} ${_gemlith_json_root}/nlohmann SYMBOLIC)
file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/nlohmann_json-config.cmake
     "# The Debian headers of nlohmann-json (cmake/mingw64-deps.cmake).\n"
     "if(NOT TARGET nlohmann_json::nlohmann_json)\n"
     "  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)\n"
     "  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES\n"
     "    INTERFACE_INCLUDE_DIRECTORIES \"${_gemlith_json_root}\")\n"
     "endif()\n"
     "set(nlohmann_json_FOUND TRUE)\n")
file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/nlohmann_json-config-version.cmake
     "set(PACKAGE_VERSION 3)\n"
     "set(PACKAGE_VERSION_COMPATIBLE TRUE)\n")
