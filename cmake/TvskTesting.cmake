# tvsk_add_test(<target> LABEL <label> SOURCES ... LIBS ... [ENV VAR=value ...])
# One GoogleTest executable per deliverable; each test case becomes a CTest test.
find_package(GTest REQUIRED)
include(GoogleTest)

function(tvsk_add_test target)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${target} ${T_SOURCES})
  target_link_libraries(${target} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Tvsk::Warnings)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${target} PRIVATE
    TVSK_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/tests/data"
    TVSK_SAMPLE_DATA_DIR="${CMAKE_SOURCE_DIR}/data"
    TVSK_BIN_DIR="${TVSK_BIN_DIR}")
  set(env QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 ${T_ENV})
  # The tests run under `cmake -E env`: a list-valued ENVIRONMENT property would lose all but its
  # first variable on its way through test discovery.
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;${env}")
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${T_LABEL}" TIMEOUT 120)
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
endfunction()
