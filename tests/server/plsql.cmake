# Tests of the embedded server's PL/SQL layer (blocks, stored code, binds of
# PL/SQL tables and cursor variables at the engine level). The conformance
# scripts scripts/plsql_*.sql run with the engine's (engine.cmake).
file(GLOB plsql_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/plsql_*_test.cpp)
if(plsql_test_sources AND TARGET vorn_server_plsql)
  vorn_add_test(server_plsql_tests SOURCES ${plsql_test_sources}
                LIBS vorn_server_plsql vorn_server_shell)
endif()
