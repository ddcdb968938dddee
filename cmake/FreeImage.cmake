# FreeImage::FreeImage: the project's own static FreeImage build (with zlib,
# libjpeg-turbo, libpng and libtiff) for the target of the build's toolchain file.
#
# OMBRIX_FREEIMAGE_PREFIX names an installed prefix. Left empty, configuring
# runs deps/build-freeimage.sh, which builds into its cache on the first run
# and afterwards answers with the cached prefix in about a second.
include_guard(GLOBAL)

set(OMBRIX_FREEIMAGE_PREFIX "" CACHE PATH
    "Prefix of the static FreeImage build; empty: build it or reuse the cached build")

if(NOT CMAKE_TOOLCHAIN_FILE)
  message(FATAL_ERROR "FreeImage.cmake: the static FreeImage build follows the build's toolchain file; "
                      "configure with -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-<target>.cmake")
endif()

# Whether library sources older than apt's newest are accepted, as the
# environment said when the tree was configured (scripts/build.sh says 1 for
# its test builds, scripts/package.sh 0): a tree that reconfigures itself
# later, from a plain "cmake --build", keeps that choice.
if(DEFINED ENV{OMBRIX_DEPS_ACCEPT_OLDER})
  set(OMBRIX_DEPS_ACCEPT_OLDER "$ENV{OMBRIX_DEPS_ACCEPT_OLDER}" CACHE STRING
      "1: accept older library sources where the mirror lacks the newest" FORCE)
endif()
set(_freeimage_deps_env "")
if(DEFINED OMBRIX_DEPS_ACCEPT_OLDER)
  set(_freeimage_deps_env "OMBRIX_DEPS_ACCEPT_OLDER=${OMBRIX_DEPS_ACCEPT_OLDER}")
endif()

set(_freeimage_deps_dir "${CMAKE_CURRENT_LIST_DIR}/../deps")
set(_freeimage_prefix "${OMBRIX_FREEIMAGE_PREFIX}")
if(_freeimage_prefix STREQUAL "")
  message(STATUS "FreeImage: running deps/build-freeimage.sh (a first run builds for one to three minutes: docs/building.md)")
  # The script's progress (stderr) goes to the console; stdout ends with the prefix.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${_freeimage_deps_env}
            bash "${_freeimage_deps_dir}/build-freeimage.sh" "${CMAKE_TOOLCHAIN_FILE}"
    OUTPUT_VARIABLE _freeimage_output
    RESULT_VARIABLE _freeimage_result)
  if(NOT _freeimage_result EQUAL 0)
    message(FATAL_ERROR "deps/build-freeimage.sh failed (${_freeimage_result}); see its messages above")
  endif()
  string(STRIP "${_freeimage_output}" _freeimage_output)
  string(REGEX REPLACE "^.*\n" "" _freeimage_prefix "${_freeimage_output}")
  # Editing the build's own files reconfigures, which gives a new prefix (the
  # toolchain file, also part of the key, CMake watches already).
  file(GLOB _freeimage_patches CONFIGURE_DEPENDS "${_freeimage_deps_dir}/freeimage/patches/*.patch")
  set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    "${_freeimage_deps_dir}/build-freeimage.sh"
    "${_freeimage_deps_dir}/toolchain-facts.cmake"
    "${_freeimage_deps_dir}/zlib/CMakeLists.txt"
    "${_freeimage_deps_dir}/freeimage/CMakeLists.txt"
    ${_freeimage_patches})
endif()

# Link order matters: FreeImage's TIFF plugin replaces some of libtiff's
# functions, so libfreeimage.a must come before libtiff.a.
set(_freeimage_libs "")
foreach(_name IN ITEMS freeimage tiff png16 jpeg z)
  set(_lib "${_freeimage_prefix}/lib/lib${_name}.a")
  if(NOT EXISTS "${_lib}")
    message(FATAL_ERROR "FreeImage prefix '${_freeimage_prefix}' has no lib/lib${_name}.a")
  endif()
  list(APPEND _freeimage_libs "${_lib}")
endforeach()
if(NOT EXISTS "${_freeimage_prefix}/include/FreeImage.h")
  message(FATAL_ERROR "FreeImage prefix '${_freeimage_prefix}' has no include/FreeImage.h")
endif()
# A Windows prefix also holds the module's winpthreads, as libpthread.a in a
# folder of its own: a -L of it makes the driver's -lpthread find that copy.
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(OMBRIX_WINPTHREADS_DIR "${_freeimage_prefix}/lib/winpthreads")
  if(NOT EXISTS "${OMBRIX_WINPTHREADS_DIR}/libpthread.a")
    message(FATAL_ERROR "FreeImage prefix '${_freeimage_prefix}' has no lib/winpthreads/libpthread.a "
                        "(deps/build-freeimage.sh builds it)")
  endif()
endif()
message(STATUS "FreeImage: ${_freeimage_prefix}")
# The release's notices read the sources of this build beside it, and
# scripts/package.sh the versions it was built from.
set(FreeImage_PREFIX "${_freeimage_prefix}")
set(OMBRIX_FREEIMAGE_USED "${_freeimage_prefix}" CACHE INTERNAL "The FreeImage prefix this tree links")

add_library(FreeImage::FreeImage INTERFACE IMPORTED GLOBAL)
set_target_properties(FreeImage::FreeImage PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${_freeimage_prefix}/include"
  # Static use: without it FreeImage.h declares every function dllimport.
  INTERFACE_COMPILE_DEFINITIONS FREEIMAGE_LIB
  INTERFACE_LINK_LIBRARIES "${_freeimage_libs}")
