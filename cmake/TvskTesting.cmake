# tvsk_add_test(<target> LABEL <label> SOURCES ... LIBS ... [ENV VAR=value ...] [UNPRIVILEGED])
# One GoogleTest executable per deliverable; each test case becomes a CTest test. A Qt test program
# links Tvsk::Testing::QtMain, whose main replaces GoogleTest's. UNPRIVILEGED (implied by linking
# the drive chain) runs the program as user nobody when ctest runs as root, so faults an ordinary
# user meets on the serial line cannot hide behind root's rights.
find_package(GTest REQUIRED)
include(GoogleTest)

function(tvsk_add_test target)
  # LABEL takes one label or more (a real-engine test carries "browser" beside its deliverable's).
  cmake_parse_arguments(T "UNPRIVILEGED" "" "LABEL;SOURCES;LIBS;ENV" ${ARGN})
  # The browser programs' former environment object is now the Qt test main.
  if("$<TARGET_OBJECTS:tvsk_browser_test_environment>" IN_LIST T_SOURCES)
    list(REMOVE_ITEM T_SOURCES "$<TARGET_OBJECTS:tvsk_browser_test_environment>")
    list(APPEND T_LIBS Tvsk::Testing::QtMain)
  endif()
  set(main GTest::gtest_main)
  foreach(qtMain Tvsk::Testing::QtMain tvsk_qt_test_main Tvsk::BrowserTestEnvironment tvsk_browser_test_environment)
    if(qtMain IN_LIST T_LIBS)
      set(main "")
    endif()
  endforeach()
  add_executable(${target} ${T_SOURCES})
  target_link_libraries(${target} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock ${main} Tvsk::Warnings)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${target} PRIVATE
    TVSK_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/tests/data"
    TVSK_SAMPLE_DATA_DIR="${CMAKE_SOURCE_DIR}/data"
    TVSK_BIN_DIR="${TVSK_BIN_DIR}")
  # Discovered tests cannot carry a list-valued ENVIRONMENT through the generated script, so the
  # environment travels on the command line: discovery and every test run through env(1).
  find_program(TVSK_ENV_PROGRAM env REQUIRED)
  set(runner "${TVSK_ENV_PROGRAM};QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1;${TVSK_SANITIZER_ENV};${T_ENV}")
  if(T_UNPRIVILEGED OR tvsk_drive_chain IN_LIST T_LIBS)
    list(APPEND runner "${CMAKE_SOURCE_DIR}/cmake/run-unprivileged")
  endif()
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${runner}")
  if(TVSK_FUZZ)
    return() # the sanitizer build builds no test program and runs the fuzz corpora only
  endif()
  set(label "")
  if(T_LABEL)
    list(GET T_LABEL 0 label)
  endif()
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${label}" TIMEOUT ${TVSK_TEST_TIMEOUT})
  # The discovered tests' properties cannot hold a list: more labels come from a script that ctest
  # reads after the discovered tests.
  list(LENGTH T_LABEL count)
  if(count GREATER 1)
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake)
    file(WRITE ${script} "set_tests_properties(\${${target}_TESTS} PROPERTIES LABELS \"${T_LABEL}\")\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
  endif()
endfunction()

# tvsk_add_benchmark(<target> SOURCES ... LIBS ...): built, never run by ctest.
function(tvsk_add_benchmark target)
  if(NOT TVSK_BUILD_BENCHMARKS)
    return()
  endif()
  find_package(benchmark REQUIRED)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${B_SOURCES})
  target_link_libraries(${target} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main Tvsk::Warnings)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  # The same folders the tests are told about.
  target_compile_definitions(${target} PRIVATE
    TVSK_SAMPLE_DATA_DIR="${CMAKE_SOURCE_DIR}/data"
    TVSK_BIN_DIR="${TVSK_BIN_DIR}")
endfunction()
