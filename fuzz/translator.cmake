# The object query translator's parser.Parse over arbitrary statements in
# each language, on a demo database made once per run; what it accepts is
# compiled (queries described, blocks checked to compile).
if(TARGET vorn_server_plsql AND TARGET vorn_server_shell)
  vorn_add_fuzzer(translator_parse_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/translator/TranslatorParseFuzzer.cpp
    LIBS vorn_server_plsql vorn_server_shell
    CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/translator/corpus)
endif()
