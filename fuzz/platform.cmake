# The platform layer's reader of outside text: the machine registry file.
vorn_add_fuzzer(platform_registry_fuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform/RegistryFileFuzzer.cpp
  LIBS vorn::platform
  INCLUDES ${PROJECT_SOURCE_DIR}/platform
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/platform/corpus)
