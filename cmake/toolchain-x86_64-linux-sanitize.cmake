# Native toolchain: Linux x86-64 with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and libFuzzer's coverage counters in every
# object, so that the decoder and its libraries are fuzzed like the module's
# own code (tests/fuzz). Every undefined behaviour stops the program: a report
# that scrolls past is a finding nobody sees.
# The machine itself: named for the decoder build, which picks its SIMD code by it.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER   clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_AR           llvm-ar-14 CACHE FILEPATH "")
set(CMAKE_RANLIB       llvm-ranlib-14 CACHE FILEPATH "")

set(_ombrix_sanitize "-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer -g")
set(CMAKE_C_FLAGS_INIT   "${_ombrix_sanitize}")
set(CMAKE_CXX_FLAGS_INIT "${_ombrix_sanitize}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fsanitize=address,undefined")
