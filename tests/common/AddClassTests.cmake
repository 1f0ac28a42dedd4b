# Run after a test executable is built: asks it for its test classes
# (-listclasses) and writes one CTest entry per class to CTEST_FILE, so a
# class that crashes does not hide the others and ctest names the class.
#   -D EXECUTABLE=... -D PREFIX=... -D CTEST_FILE=... -D WORKING_DIRECTORY=...
#   -D ENVIRONMENT=...   (a ;-list, passed through as it is)
#   -D PROPERTIES=...    (further test properties, name value ...)
# A link running beside this one may still hold the new file open for a
# moment ("Text file busy"): try again a few times before giving up.
foreach(attempt RANGE 20)
    execute_process(
        COMMAND "${EXECUTABLE}" -listclasses
        OUTPUT_VARIABLE classes
        RESULT_VARIABLE result
        ERROR_VARIABLE error)
    if(NOT result MATCHES "busy")
        break()
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 0.1)
endforeach()
if(NOT result EQUAL 0)
    file(REMOVE "${CTEST_FILE}")
    message(FATAL_ERROR "${EXECUTABLE} -listclasses failed (${result}): ${error}")
endif()
string(REPLACE "\n" ";" classes "${classes}")
set(content "")
foreach(class IN LISTS classes)
    if(class STREQUAL "")
        continue()
    endif()
    set(name "${PREFIX}.${class}")
    string(APPEND content
        "add_test([=[${name}]=] [=[${EXECUTABLE}]=] -class [=[${class}]=])\n"
        "set_tests_properties([=[${name}]=] PROPERTIES\n"
        "    WORKING_DIRECTORY [=[${WORKING_DIRECTORY}]=]\n"
        "    ENVIRONMENT [=[${ENVIRONMENT}]=]\n"
        "    ${PROPERTIES})\n")
endforeach()
if(content STREQUAL "")
    message(FATAL_ERROR "${EXECUTABLE} lists no test classes")
endif()
file(WRITE "${CTEST_FILE}" "${content}")
