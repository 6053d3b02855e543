# Tests of the version 7 call interface. Like the version 8 tests they load
# oci.dll from the Oracle home with dlopen/dlsym only and seed their
# databases with vornsql (oci_support.cpp).
if(TARGET vorn_oci)
  file(GLOB oci7_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/oci7_*_test.cpp)
  vorn_add_test(server_oci7_tests THREADED
                SOURCES ${oci7_test_sources} ${CMAKE_CURRENT_SOURCE_DIR}/oci_support.cpp
                        ${CMAKE_CURRENT_SOURCE_DIR}/oci7_support.cpp
                LIBS ${CMAKE_DL_LIBS} Threads::Threads)
  target_include_directories(server_oci7_tests PRIVATE ${PROJECT_SOURCE_DIR}/server/include)
  target_compile_definitions(server_oci7_tests PRIVATE
    VORN_OCI_LIBRARY="$<TARGET_FILE:vorn_oci>" VORN_VORNSQL="$<TARGET_FILE:vornsql>")
  add_dependencies(server_oci7_tests vorn_oci vornsql)
endif()
