# Tests of the call interface (oci.dll). They load the library from the
# Oracle home with dlopen/dlsym only, as the client binding does, and seed
# their databases with vornsql.
if(TARGET vorn_oci)
  file(GLOB oci_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/oci_*_test.cpp)
  vorn_add_test(server_oci_tests THREADED
                SOURCES ${oci_test_sources} ${CMAKE_CURRENT_SOURCE_DIR}/oci_support.cpp
                        ${CMAKE_CURRENT_SOURCE_DIR}/oci_object_support.cpp
                LIBS ${CMAKE_DL_LIBS} Threads::Threads)
  target_include_directories(server_oci_tests PRIVATE ${PROJECT_SOURCE_DIR}/server/include)
  target_compile_definitions(server_oci_tests PRIVATE
    VORN_OCI_LIBRARY="$<TARGET_FILE:vorn_oci>" VORN_VORNSQL="$<TARGET_FILE:vornsql>"
    VORN_CLNTSH_LIBRARY="$<TARGET_FILE:vorn_clntsh>")
  add_dependencies(server_oci_tests vorn_oci vorn_clntsh vornsql)

  # The same in plain C: proves that oci.h is valid C and that a C program
  # logs on, queries and fetches through the dlsym'd entry points.
  add_executable(server_oci_c_test ${CMAKE_CURRENT_SOURCE_DIR}/oci_c_test.c)
  set_target_properties(server_oci_c_test PROPERTIES C_STANDARD 99 C_STANDARD_REQUIRED ON
                        RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  target_include_directories(server_oci_c_test PRIVATE ${PROJECT_SOURCE_DIR}/server/include)
  target_compile_options(server_oci_c_test PRIVATE -Wpedantic)
  target_compile_definitions(server_oci_c_test PRIVATE
    VORN_OCI_LIBRARY="$<TARGET_FILE:vorn_oci>" VORN_VORNSQL="$<TARGET_FILE:vornsql>")
  target_link_libraries(server_oci_c_test PRIVATE ${CMAKE_DL_LIBS})
  vorn_target_options(server_oci_c_test)
  add_dependencies(server_oci_c_test vorn_oci vornsql)
  add_test(NAME server_oci_c_test COMMAND server_oci_c_test)
endif()
