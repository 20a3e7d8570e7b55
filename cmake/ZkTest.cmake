# zk_add_test(NAME [SERVER | SERVER_ONLY] SOURCES... LIBS...)
# Adds one Qt Test executable and registers it with CTest, run offscreen with its own
# temporary home so no test reads or writes the developer's settings.
#
# SERVER registers the same executable a second time, as NAME-server, with the studies of its
# fixtures made on the throwaway PostgreSQL server that the fixture tests zk-server-start and
# zk-server-stop run around it (ZK_TEST_SERVER names the server's socket folder). SERVER_ONLY
# registers only that second run, for tests of what only server studies do.
set(ZK_TEST_SERVER_DIR "/tmp/zk-test-server-${ZK_BUILD_HASH}")

function(zk_add_test name)
  cmake_parse_arguments(ARG "SERVER;SERVER_ONLY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  # LANGUAGE=C: the source texts, whatever the machine's language (the tool picks its translation from it).
  # QTEST_FUNCTION_TIMEOUT: Qt Test would end a test function after five minutes of its own; a busy
  # machine or the sanitizers may take longer, and CTest's timeout is the one limit.
  set(environment "QTEST_FUNCTION_TIMEOUT=86400000;LANGUAGE=C;QT_QPA_PLATFORM=offscreen;XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-cache;ZK_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;ZK_TOOL=$<TARGET_FILE:zokorvane-tool>")
  if(ZK_SANITIZE)
    target_compile_definitions(${name} PRIVATE ZK_SANITIZED) # slower: long loops run shorter
  endif()
  if(NOT ARG_SERVER_ONLY)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 120)
  endif()
  if(ARG_SERVER OR ARG_SERVER_ONLY)
    add_test(NAME ${name}-server COMMAND ${name})
    set_tests_properties(${name}-server PROPERTIES
      ENVIRONMENT "${environment};ZK_TEST_SERVER=${ZK_TEST_SERVER_DIR}"
      FIXTURES_REQUIRED zk_server TIMEOUT 180)
  endif()
endfunction()
