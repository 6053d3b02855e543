# vorn-bench: the library against the engine and a peer, in one run on the
# same files (made in a temporary folder, removed at the end):
#   the engine's limit   the SQLite C API (the SQLite the server links)
#   the peer             Qt's SQL module with its QSQLITE driver (when Qt 6
#                        Sql is installed; without the driver its figures
#                        are reported as skipped)
#   the library          oci.dll's version 8 calls (loaded with dlopen, as
#                        the client does), TOracleQuery, TOracleDataSet and
#                        TLOBLocator
# over a 200,000-row scan, 100,000 inserts, searching and filtering the
# buffered rows, a 10 MB CLOB, single rows by key, and the scan and the
# dataset at 10,000 to 1,000,000 rows; plus, with the tests' in-memory
# dataset, the filter language over a million records. It ends with a rate
# and a ratio to SQLite per measurement (RatioReport.h).
# Run: build/bin/vorn-bench (docs/performance.md).
if(TARGET vorn_oci)
  set(vorn_bench_sources
      BenchMain.cpp RatioReport.cpp HeapCounter.cpp
      ServerOciFetch.cpp QueryScan.cpp DataSetScan.cpp DataSetPost.cpp
      DataSetSearch.cpp LobRead.cpp Scaling.cpp)
  if(TARGET vorn_test_support)
    list(APPEND vorn_bench_sources FilterEvaluate.cpp)
  endif()
  find_package(Qt6 QUIET COMPONENTS Core Sql)
  if(Qt6Sql_FOUND)
    list(APPEND vorn_bench_sources QtSqlScan.cpp)
  endif()
  list(TRANSFORM vorn_bench_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
  vorn_add_benchmark(vorn-bench SOURCES ${vorn_bench_sources}
                     LIBS vorn_server_shell vorn::dataset ${CMAKE_DL_LIBS})
  if(TARGET vorn-bench)
    set_target_properties(vorn-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
    target_include_directories(vorn-bench PRIVATE ${PROJECT_SOURCE_DIR}/server/include
                                                  ${PROJECT_SOURCE_DIR}/dataset)
    target_compile_definitions(vorn-bench PRIVATE VORN_OCI_LIBRARY="$<TARGET_FILE:vorn_oci>")
    add_dependencies(vorn-bench vorn_oci)
    if(TARGET vorn_test_support)
      target_link_libraries(vorn-bench PRIVATE vorn::filter vorn_test_support)
    endif()
    if(Qt6Sql_FOUND)
      target_link_libraries(vorn-bench PRIVATE Qt6::Core Qt6::Sql)
      target_compile_definitions(vorn-bench PRIVATE VORN_BENCH_QT)
    endif()
  endif()
endif()
