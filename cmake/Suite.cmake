# Compiler settings shared by every target, and the helper that registers a test program.

include(${CMAKE_CURRENT_LIST_DIR}/Win64Pending.cmake)

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX)
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(SUITE_TEST_LABEL wine)
else()
  set(SUITE_TEST_LABEL native)
endif()
add_compile_options(-Wall -Wextra -Wno-unused-parameter)

# The programs go to one folder, with the converter's sibling programs in its "Modules" folder,
# laid out as they are installed.
set(SUITE_PROGRAM_DIR "${CMAKE_BINARY_DIR}/bin")
set(SUITE_MODULES_DIR "${SUITE_PROGRAM_DIR}/Modules")

if(SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# suite_test(<name> SOURCES ... [LIBS ...] [GUI] [SERIAL] [TIMEOUT <s>])
# One GoogleTest program, registered with ctest. Under the windows configuration ctest runs it
# through cmake/wine-run.sh (the cross-compiling emulator), which gives it a display and a timeout.
# SERIAL: under Wine the program runs on its own; it passes in seconds alone but, slowed by a
# full parallel run on the shared Wine server, ran past its time limit.
function(suite_test name)
  cmake_parse_arguments(T "GUI;SERIAL" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_definitions(${name} PRIVATE SUITE_SOURCE_DIR="${PROJECT_SOURCE_DIR}" SUITE_TEST_PROGRAM="${name}")
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set(labels ${SUITE_TEST_LABEL})
  if(T_GUI)
    list(APPEND labels gui)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "WINE_RUN_TIMEOUT=${T_TIMEOUT}")
  if(T_SERIAL AND WIN32)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
  suite_apply_pending(${name})
endfunction()

# suite_fuzz(<name> SOURCES ... [LIBS ...] [SEEDS <file or folder> ...] [SECONDS <s>])
# A fuzz entry point (LLVMFuzzerTestOneInput) with our own driver, native only: ctest runs the
# seeds and then random mutations of them for a fixed time, so with -DSANITIZE=ON every memory
# error or undefined behaviour the mutations reach fails the test. The same source builds with
# clang's libFuzzer by hand (clang++ -fsanitize=fuzzer,address ...).
function(suite_fuzz name)
  if(WIN32)
    return()
  endif()
  cmake_parse_arguments(F "" "SECONDS" "SOURCES;LIBS;SEEDS" ${ARGN})
  add_executable(${name} ${F_SOURCES} ${PROJECT_SOURCE_DIR}/tests/fuzz/FuzzMain.cpp)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  if(NOT F_SECONDS)
    set(F_SECONDS 10)
  endif()
  add_test(NAME ${name} COMMAND ${name} --seconds ${F_SECONDS} ${F_SEEDS})
  set_tests_properties(${name} PROPERTIES LABELS "native;fuzz" TIMEOUT 120)
endfunction()
