# Run by CPack on the staged files before it builds the package: strips the
# program as Debian's dh_strip does, dropping the symbols and the sections
# that only record how it was built (.comment, .note).
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/lanshi")
if(NOT programs)
    message(FATAL_ERROR "strip.cmake: no bin/lanshi under ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
foreach(program ${programs})
    execute_process(
        COMMAND strip --remove-section=.comment --remove-section=.note ${program}
        RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "strip.cmake: could not strip ${program}")
    endif()
endforeach()
