# The host framework's per-value work on the library's hot paths: variant
# conversions, number and date texts, sorted string lists and component
# streams.
vorn_add_benchmark(host_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/host_bench.cpp
  LIBS vorn::host)
