# The embedded server through its call interface: a full scan of 200,000
# rows fetched 100 at a time through oci.dll (loaded with dlopen, as the
# client does), against the same scan through the SQLite C API; the same
# scan through TOracleQuery's typed accessors and variants, and into a
# TOracleDataSet's record list, with a grid's window scrolled through it;
# text read as VARCHAR2 and as CLOB through TLOBLocator; rows delivered by a
# threaded query's synchronised events against the same loop on the main
# thread; and inserts with ExecuteArray against prepared SQLite inserts.
# Figures: build in a separate Release folder, then ./bench/server_oci_fetch.
if(TARGET vorn_oci)
  vorn_add_benchmark(server_oci_fetch SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ServerOciFetch.cpp
                     ${CMAKE_CURRENT_SOURCE_DIR}/QueryScan.cpp
                     ${CMAKE_CURRENT_SOURCE_DIR}/DataSetScan.cpp
                     ${CMAKE_CURRENT_SOURCE_DIR}/DataSetPost.cpp
                     LIBS vorn_server_shell vorn::dataset ${CMAKE_DL_LIBS})
  if(TARGET server_oci_fetch)
    target_include_directories(server_oci_fetch PRIVATE ${PROJECT_SOURCE_DIR}/server/include
                                                        ${PROJECT_SOURCE_DIR}/dataset)
    target_compile_definitions(server_oci_fetch PRIVATE VORN_OCI_LIBRARY="$<TARGET_FILE:vorn_oci>")
    add_dependencies(server_oci_fetch vorn_oci)
  endif()
endif()
