# The client binding's reader of outside text: tnsnames.ora and the files it
# includes.
vorn_add_fuzzer(client_tnsnames_fuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/client/TnsNamesFuzzer.cpp
  LIBS vorn::client
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/client/corpus)
