# The host framework's readers of outside input: component streams (stored
# with forms) and the number and date texts users type.
vorn_add_fuzzer(host_filer_fuzz
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/host_filer_fuzz.cpp
  LIBS vorn::host
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/host_corpus/filer)
vorn_add_fuzzer(host_text_fuzz
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/host_text_fuzz.cpp
  LIBS vorn::host
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/host_corpus/text)
