# The dataset's readers of outside text over arbitrary input: the statement
# text operations (comment removal, masking, whole-word search, splitting,
# the refresh statement made from a dataset's SQL),
# and the dictionary features' readers (updating table and alias, check
# conditions, server messages, field lists).
if(TARGET vorn_dataset)
  vorn_add_fuzzer(dataset_sql_text_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/dataset/SqlTextFuzzer.cpp
    LIBS vorn::dataset
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/dataset/corpus)
  target_include_directories(dataset_sql_text_fuzzer PRIVATE ${PROJECT_SOURCE_DIR}/dataset)
  vorn_add_fuzzer(dataset_dictionary_text_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/dataset/DictionaryTextFuzzer.cpp
    LIBS vorn::dataset
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/dataset/dictionary-corpus)
  target_include_directories(dataset_dictionary_text_fuzzer PRIVATE ${PROJECT_SOURCE_DIR}/dataset)
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

# The query-by-example field definitions a form stores, read from
# arbitrary bytes.
if(TARGET vorn_dataset)
  vorn_add_fuzzer(dataset_qbe_definition_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/dataset/QBEDefinitionStreamFuzzer.cpp
    LIBS vorn::dataset
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/dataset/qbe_corpus)
endif()
