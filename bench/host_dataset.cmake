# The dataset framework's per-record work: field reads through record
# buffers while filtering, field lookups by name, and scrolling a grid's
# window. Needs the in-memory dataset of the test support folder.
if(TARGET vorn_test_support)
  vorn_add_benchmark(host_dataset_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/host_dataset_bench.cpp
    LIBS vorn::host vorn_test_support)
endif()
