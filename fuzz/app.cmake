# Vornix's statement text rules (classification, connect lines, slot
# substitution, the translator's block, result kinds) over arbitrary text.
if(TARGET vornix_core)
  vorn_add_fuzzer(app_statement_text_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/app/StatementTextFuzzer.cpp
    LIBS vornix_core
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/app/corpus)
endif()
