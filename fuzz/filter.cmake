# The filter parser over arbitrary text, with the trees it builds evaluated
# against a small in-memory dataset. Needs the test support folder.
if(TARGET vorn_test_support)
  vorn_add_fuzzer(filter_parse_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/filter/FilterParseFuzzer.cpp
    LIBS vorn::filter vorn_test_support
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/filter/corpus)
endif()
