# The dataset's statement text operations over arbitrary text: comment
# removal, masking, whole-word search and splitting.
if(TARGET vorn_dataset)
  vorn_add_fuzzer(dataset_sql_text_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/dataset/SqlTextFuzzer.cpp
    LIBS vorn::dataset
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/dataset/corpus)
endif()

# A dataset's stored properties read from arbitrary form streams.
if(TARGET vorn_dataset)
  vorn_add_fuzzer(dataset_form_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/dataset/DataSetFormFuzzer.cpp
    LIBS vorn::dataset
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/dataset/form_corpus)
endif()

# The master/detail configuration's WHERE clause rewrite over arbitrary
# statement text.
if(TARGET vorn_dataset)
  vorn_add_fuzzer(dataset_where_clause_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/dataset/WhereClauseFuzzer.cpp
    LIBS vorn::dataset
    INCLUDES ${PROJECT_SOURCE_DIR}/dataset
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/dataset/where_corpus)
endif()
