# zk_add_test(NAME SOURCES... LIBS...)
# Adds one Qt Test executable and registers it with CTest, run offscreen with its own
# temporary home so no test reads or writes the developer's settings.
function(zk_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-cache;ZK_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;ZK_TOOL=$<TARGET_FILE:zokorvane-tool>"
    TIMEOUT 120)
endfunction()
