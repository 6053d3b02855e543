# The query engine's parsers of outside text: the variable scanner over SQL
# text, and the reader of the variable list a form stores.
vorn_add_fuzzer(query_find_variables_fuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/query/FindVariablesFuzzer.cpp
  LIBS vorn::query
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/query/corpus/variables)
vorn_add_fuzzer(query_variable_stream_fuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/query/VariableStreamFuzzer.cpp
  LIBS vorn::query
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/query/corpus/stream)
