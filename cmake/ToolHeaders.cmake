# Header-only libraries from Debian for the project's tools (reference host,
# converter stand-in). /usr/include itself must never reach the cross
# compiler (its glibc headers would shadow mingw's), so only the libraries'
# own folders are linked into a folder of the build.
include_guard(GLOBAL)

set(OMBRIX_TOOL_HEADERS ${CMAKE_BINARY_DIR}/tool-headers)
foreach(library nlohmann CLI)
    if(NOT EXISTS /usr/include/${library})
        message(FATAL_ERROR "/usr/include/${library} is missing: run scripts/install-packages.sh")
    endif()
    if(NOT EXISTS ${OMBRIX_TOOL_HEADERS}/${library})
        file(MAKE_DIRECTORY ${OMBRIX_TOOL_HEADERS})
        file(CREATE_LINK /usr/include/${library} ${OMBRIX_TOOL_HEADERS}/${library} SYMBOLIC)
    endif()
endforeach()

add_library(ombrix_tool_headers INTERFACE)
target_include_directories(ombrix_tool_headers SYSTEM INTERFACE ${OMBRIX_TOOL_HEADERS})
