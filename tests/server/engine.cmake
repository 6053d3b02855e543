# Tests of the embedded server's SQL engine and shell.
#
# Conformance scripts: tests/server/scripts/NAME.sql runs through vornsql on
# a fresh demo database and must print exactly NAME.expected. Add a script
# and its expected output to add a test.
file(GLOB engine_scripts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/scripts/*.sql)
foreach(script ${engine_scripts})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME server_script_${name}
           COMMAND ${CMAKE_COMMAND} -DVORNSQL=$<TARGET_FILE:vornsql> -DSCRIPT=${script}
                   -DEXPECTED=${CMAKE_CURRENT_SOURCE_DIR}/scripts/${name}.expected
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/scripts
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/run_script.cmake)
endforeach()

file(GLOB engine_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/engine_*.cpp)
if(engine_test_sources)
  vorn_add_test(server_engine_tests THREADED SOURCES ${engine_test_sources}
                LIBS vorn_server_engine vorn_server_shell)
endif()
