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
# The default build keeps line tables only: function names and lines for backtraces and
# addr2line, at about a third less compile time than full debug information, and programs a
# fraction of the size that link faster. (A later -g level wins over the configuration's -g.)
add_compile_options($<$<CONFIG:RelWithDebInfo>:-g1>)

# The programs go to one folder, with the converter's sibling programs in its "Modules" folder,
# laid out as they are installed.
set(SUITE_PROGRAM_DIR "${CMAKE_BINARY_DIR}/bin")
set(SUITE_MODULES_DIR "${SUITE_PROGRAM_DIR}/Modules")

if(SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# suite_test(<name> SOURCES ... [LIBS ...] [GUI] [SERIAL] [UNMANAGED] [SHARDS <n>] [TIMEOUT <s>])
# One GoogleTest program, registered with ctest. Under the windows configuration ctest runs it
# through cmake/wine-run.sh (the cross-compiling emulator), which gives it a display and a Wine
# prefix of its own and a timeout, so the programs run side by side; the prefix is copied from
# one that the fixture wine_prefix_template boots first.
# SERIAL: the program runs alone, for one that measures time and needs the whole machine.
# UNMANAGED: Wine places the program's windows itself, as Windows does, instead of leaving them
# to a window manager that the test display does not have.
# SHARDS: its cases are run as n tests <name>.1 ... <name>.n, each taking every n-th case, side by
# side (for a program that alone would outlast all the others).
function(suite_test name)
  cmake_parse_arguments(T "GUI;SERIAL;UNMANAGED" "TIMEOUT;SHARDS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(WIN32)
    suite_test_main_library()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest suite_test_main)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_definitions(${name} PRIVATE SUITE_SOURCE_DIR="${PROJECT_SOURCE_DIR}" SUITE_TEST_PROGRAM="${name}")
  set(tests ${name})
  if(T_SHARDS GREATER 1)
    set(tests "")
    foreach(shard RANGE 1 ${T_SHARDS})
      math(EXPR index "${shard} - 1")
      add_test(NAME ${name}.${shard} COMMAND ${name} --gtest_brief=1)
      set_property(TEST ${name}.${shard} PROPERTY ENVIRONMENT "GTEST_TOTAL_SHARDS=${T_SHARDS}" "GTEST_SHARD_INDEX=${index}")
      list(APPEND tests ${name}.${shard})
    endforeach()
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  endif()
  set(labels ${SUITE_TEST_LABEL})
  if(T_GUI)
    list(APPEND labels gui)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${tests} PROPERTIES LABELS "${labels}" TIMEOUT ${T_TIMEOUT})
  if(WIN32)
    suite_wine_prefix_fixture()
    # The runner's own limit comes first, so that it can still end Wine and its display; ctest's
    # leaves it time for that and for copying the prefix.
    math(EXPR ctest_limit "${T_TIMEOUT} + 60")
    set_property(TEST ${tests} APPEND PROPERTY ENVIRONMENT "WINE_RUN_TIMEOUT=${T_TIMEOUT}")
    if(T_UNMANAGED)
      set_property(TEST ${tests} APPEND PROPERTY ENVIRONMENT "WINE_RUN_UNMANAGED=1")
    endif()
    set_tests_properties(${tests} PROPERTIES TIMEOUT ${ctest_limit} FIXTURES_REQUIRED wine_prefix)
    if(T_SERIAL)
      set_tests_properties(${tests} PROPERTIES RUN_SERIAL TRUE)
    endif()
  endif()
  suite_apply_pending(${name} ${tests})
endfunction()

# The entry of the windows test programs (tests/support/WineTestMain.cpp), a library so that a
# program's own main comes first; made once.
function(suite_test_main_library)
  if(TARGET suite_test_main)
    return()
  endif()
  add_library(suite_test_main STATIC ${PROJECT_SOURCE_DIR}/tests/support/WineTestMain.cpp)
  target_link_libraries(suite_test_main PRIVATE GTest::gtest)
  target_include_directories(suite_test_main PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
endfunction()

# The booted Wine prefix that each windows test program gets a copy of; registered once.
function(suite_wine_prefix_fixture)
  get_property(done GLOBAL PROPERTY SUITE_WINE_PREFIX_FIXTURE)
  if(done)
    return()
  endif()
  set_property(GLOBAL PROPERTY SUITE_WINE_PREFIX_FIXTURE TRUE)
  add_test(NAME wine_prefix_template COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --boot ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_prefix_template PROPERTIES LABELS wine FIXTURES_SETUP wine_prefix TIMEOUT 400)
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
