# The server under faults and load: a writer process killed at random
# moments (reliability/CrashChild.cpp is the process), sessions in threads
# against shared accounts.
file(GLOB reliability_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/reliability_*_test.cpp)
add_executable(reliability_crash_child ${CMAKE_CURRENT_SOURCE_DIR}/reliability/CrashChild.cpp)
target_link_libraries(reliability_crash_child PRIVATE vorn_server_engine)
vorn_target_options(reliability_crash_child)
set_target_properties(reliability_crash_child PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)

vorn_add_test(server_reliability_tests THREADED
  SOURCES ${reliability_test_sources}
  LIBS vorn_server_engine Threads::Threads)
add_dependencies(server_reliability_tests reliability_crash_child)
target_compile_definitions(server_reliability_tests PRIVATE
  VORN_CRASH_CHILD="$<TARGET_FILE:reliability_crash_child>")
