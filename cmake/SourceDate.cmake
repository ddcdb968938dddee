# ombrix_link_at_source_date(TARGET): TARGET's PE time stamp is the commit's
# time (or SOURCE_DATE_EPOCH when the build's environment sets it), in every
# build folder and from every script, and no other byte of it depends on when
# it was built. The time is noted on every build; a new one relinks TARGET.
include_guard(GLOBAL)

set(OMBRIX_SOURCE_DATE_FILE ${CMAKE_BINARY_DIR}/source-date-epoch.txt)
set(_source_date_script ${CMAKE_CURRENT_LIST_DIR}/source-date.sh)
add_custom_target(ombrix_source_date
    COMMAND sh ${_source_date_script} note ${OMBRIX_SOURCE_DATE_FILE} ${PROJECT_SOURCE_DIR}
    BYPRODUCTS ${OMBRIX_SOURCE_DATE_FILE}
    COMMENT "The commit's time for the modules' time stamp" VERBATIM)

function(ombrix_link_at_source_date target)
    add_dependencies(${target} ombrix_source_date)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${OMBRIX_SOURCE_DATE_FILE})
    set_target_properties(${target} PROPERTIES
        CXX_LINKER_LAUNCHER "sh;${_source_date_script};link;${OMBRIX_SOURCE_DATE_FILE}")
endfunction()
