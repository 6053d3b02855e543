# Filter expressions: evaluating a parsed filter over a million records of
# the in-memory dataset, and parsing filter texts.
if(TARGET vorn_test_support)
  vorn_add_benchmark(filter_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/FilterEvaluate.cpp
    LIBS vorn::filter vorn_test_support)
endif()
