# Runs the replay tool over the golden cases and compares its output, line for
# line, with the expected output kept beside them.
#   cmake -DREPLAY=... -DCASES=... -DEXPECTED=... -DACTUAL=... -P check.cmake
execute_process(
    COMMAND "${REPLAY}"
    INPUT_FILE "${CASES}"
    OUTPUT_FILE "${ACTUAL}"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "replay exited with ${status}")
endif()

execute_process(
    COMMAND "${CMAKE_COMMAND}" -E compare_files "${EXPECTED}" "${ACTUAL}"
    RESULT_VARIABLE same)
if(same EQUAL 0)
    message("the golden cases match")
    return()
endif()

# They differ: name the lines (best effort; the comparison above decides).
file(STRINGS "${EXPECTED}" expected_lines ENCODING UTF-8)
file(STRINGS "${ACTUAL}" actual_lines ENCODING UTF-8)
list(LENGTH expected_lines expected_count)
list(LENGTH actual_lines actual_count)
set(differences 0)
math(EXPR last "${expected_count} - 1")
foreach(i RANGE ${last})
    list(GET expected_lines ${i} want)
    if(i LESS actual_count)
        list(GET actual_lines ${i} got)
    else()
        set(got "(no line)")
    endif()
    if(NOT want STREQUAL got)
        math(EXPR number "${i} + 1")
        message("line ${number} differs\n  expected: ${want}\n  actual:   ${got}")
        math(EXPR differences "${differences} + 1")
    endif()
endforeach()
if(NOT expected_count EQUAL actual_count)
    message("expected ${expected_count} lines, got ${actual_count}")
    math(EXPR differences "${differences} + 1")
endif()
message(FATAL_ERROR "${differences} golden line(s) differ")
