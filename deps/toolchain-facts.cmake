# Prints what deps/build-freeimage.sh needs to know of a CMake toolchain file,
# one "name=value" a line. Usage: cmake -DTOOLCHAIN=FILE -P toolchain-facts.cmake
if(NOT EXISTS "${TOOLCHAIN}")
  message(FATAL_ERROR "no toolchain file '${TOOLCHAIN}'")
endif()
include("${TOOLCHAIN}")
if(NOT CMAKE_SYSTEM_NAME)
  # A native toolchain file names only its compilers.
  set(CMAKE_SYSTEM_NAME "${CMAKE_HOST_SYSTEM_NAME}")
endif()
if(NOT CMAKE_SYSTEM_PROCESSOR)
  set(CMAKE_SYSTEM_PROCESSOR "${CMAKE_HOST_SYSTEM_PROCESSOR}")
endif()
foreach(name IN ITEMS CMAKE_SYSTEM_NAME CMAKE_SYSTEM_PROCESSOR CMAKE_C_COMPILER CMAKE_CXX_COMPILER
                    CMAKE_AR CMAKE_FIND_ROOT_PATH CMAKE_C_FLAGS_INIT CMAKE_CXX_FLAGS_INIT)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${name}=${${name}}")
endforeach()
