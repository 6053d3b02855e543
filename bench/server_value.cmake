# Conversions on the embedded server's fetch path (number -> text, date ->
# 7 bytes, date -> NLS text) and a 200,000-row scan through the Oracle
# functions compared with the same scan in plain SQLite.
vorn_add_benchmark(server_value_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/server_value_bench.cpp
  LIBS vorn_server_value)
