# Window-test cases that do not pass yet when the windows programs are built and run as 64-bit
# ones (machines that run no 32-bit code, see scripts/wine-env.sh). README lists them under
# "What is not there yet". Each entry is "<test program>:<gtest pattern>"; a program named with
# "*" as its pattern is not run at all.
set(WIN64_PENDING_CASES
)

# Called by suite_test for each program it registers, with the tests that run it.
function(suite_apply_pending name)
  set(tests ${ARGN})
  if(NOT (WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8))
    return()
  endif()
  set(patterns "")
  foreach(entry IN LISTS WIN64_PENDING_CASES)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 program)
    list(GET parts 1 pattern)
    if(program STREQUAL name)
      list(APPEND patterns ${pattern})
    endif()
  endforeach()
  if("*" IN_LIST patterns)
    set_tests_properties(${tests} PROPERTIES DISABLED TRUE)
  elseif(patterns)
    list(JOIN patterns ":" filter)
    set_property(TEST ${tests} APPEND PROPERTY ENVIRONMENT "GTEST_FILTER=-${filter}")
  endif()
endfunction()
