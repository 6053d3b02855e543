# Tests of the client-library variants and their test homes
# (server/oci/ClientVariants.cmake, TestHomes.cmake): the exports read from
# the built files, and each home loaded from a copy of it.
if(TARGET oci_test_homes)
  vorn_add_test(server_variants_tests
                SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/variants_test.cpp
                LIBS ${CMAKE_DL_LIBS})
  target_include_directories(server_variants_tests PRIVATE ${PROJECT_SOURCE_DIR}/server/include)
  target_compile_definitions(server_variants_tests PRIVATE
    VORN_TEST_HOMES="${PROJECT_BINARY_DIR}/test-homes"
    VORN_OCI_LIBRARY="$<TARGET_FILE:vorn_oci>")
  add_dependencies(server_variants_tests oci_test_homes vorn_oci)
endif()
