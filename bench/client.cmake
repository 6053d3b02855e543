# The cost of a call into the client library through a checked call-table
# entry, against a raw function pointer, on the stand-in library that the
# client tests build (so only with the tests).
if(TARGET client_fakeoci_full81)
  vorn_add_benchmark(client_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/client_bench.cpp
    LIBS vorn::client)
  if(TARGET client_bench)
    add_dependencies(client_bench client_fakeoci_full81)
    target_compile_definitions(client_bench PRIVATE
      VORN_FAKE_OCI_FULL81="$<TARGET_FILE:client_fakeoci_full81>")
  endif()
endif()
