# Tests of the server's value layer (numbers, dates, format models, the
# SQL functions through SQLite).
vorn_add_test(server_value_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/value_number_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/value_number_format_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/value_number_bytes_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/value_date_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/value_date_format_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/value_string_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/value_storage_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/value_sqlite_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/value_robustness_test.cpp
  LIBS vorn_server_value)
