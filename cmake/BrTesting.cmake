# br_add_test_dir(NAME <exe> SOURCES_DIR <dir> LIBS <libs...>): one GoogleTest executable for a folder of tests,
# run headless: SDL's offscreen video, Mesa's software OpenGL, OpenAL Soft's null output.
find_package(GTest REQUIRED)
include(GoogleTest)

set(BR_TEST_ENV
  "SDL_VIDEODRIVER=offscreen"
  "SDL_AUDIODRIVER=dummy"
  "LIBGL_ALWAYS_SOFTWARE=1"
  "ALSOFT_DRIVERS=null"
  "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
  "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "BR_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  "BR_BINARY_DIR=${CMAKE_BINARY_DIR}")

function(br_add_test_dir)
  cmake_parse_arguments(T "" "NAME;SOURCES_DIR" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${T_SOURCES_DIR}/*.cpp)
  if(NOT srcs)
    message(FATAL_ERROR "No tests in ${T_SOURCES_DIR}")
  endif()
  add_executable(${T_NAME} ${srcs})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
  # A fatal signal names the test that was running and its stack.
  target_link_libraries(${T_NAME} PRIVATE br_crash_report)
  # The environment reaches the tests through a launcher: a list-valued ENVIRONMENT property does not survive
  # gtest_discover_tests (every entry after the first would become a property name of its own).
  set_property(TARGET ${T_NAME} PROPERTY CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${BR_TEST_ENV})
  gtest_discover_tests(${T_NAME}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
endfunction()
