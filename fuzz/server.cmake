# The server's parsers of outside text: SQL statements (including CREATE
# TYPE, object tables and the object expressions) parsed without running,
# and the byte forms of objects, collections and REFs a client hands in
# (REF hexadecimal, bound instances).
if(TARGET vorn_server_engine)
  # Coverage of the engine's own code guides the fuzzer.
  if(VORN_FUZZ)
    foreach(lib vorn_server_engine vorn_server_value)
      target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
    endforeach()
  endif()
  vorn_add_fuzzer(server_sql_parse_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/server/SqlParseFuzzer.cpp
    LIBS vorn_server_engine
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/server/sql_corpus)
  vorn_add_fuzzer(server_object_value_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/server/ObjectValueFuzzer.cpp
    LIBS vorn_server_engine
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/server/object_corpus)
endif()
