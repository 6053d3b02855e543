# The embedded server's readers of outside text: SQL (tokenizer, parser and
# compiler), PL/SQL (the compiler), the format models of TO_CHAR, TO_DATE
# and TO_NUMBER, the version 8 conversions of bound and defined data, and
# the byte forms of objects, collections and REFs a client hands in (REF
# hexadecimal, bound instances), and the texts the later-release calls read
# (time zones, character-set names, NLS_LANG, server banners).
set(server_fuzz ${CMAKE_CURRENT_LIST_DIR}/server)
vorn_add_fuzzer(server_format_fuzzer
  SOURCES ${server_fuzz}/FormatModelFuzzer.cpp
  LIBS vorn_server_value
  CORPUS ${server_fuzz}/corpus/format)
vorn_add_fuzzer(server_sql_fuzzer
  SOURCES ${server_fuzz}/SqlCompileFuzzer.cpp
  LIBS vorn_server_plsql vorn_server_shell
  CORPUS ${server_fuzz}/corpus/sql)
vorn_add_fuzzer(server_object_value_fuzzer
  SOURCES ${server_fuzz}/ObjectValueFuzzer.cpp
  LIBS vorn_server_engine
  CORPUS ${server_fuzz}/corpus/object)
vorn_add_fuzzer(server_plsql_fuzzer
  SOURCES ${server_fuzz}/PlsqlCompileFuzzer.cpp
  LIBS vorn_server_plsql vorn_server_shell
  CORPUS ${server_fuzz}/corpus/plsql)
if(TARGET vorn_oci_objects)
  vorn_add_fuzzer(server_oci_conversion_fuzzer
    SOURCES ${server_fuzz}/OciConversionFuzzer.cpp
            $<TARGET_OBJECTS:vorn_oci_objects> $<TARGET_OBJECTS:vorn_oci7>
    LIBS vorn_server_plsql vorn_server_engine ${CMAKE_DL_LIBS} Threads::Threads
    INCLUDES ${PROJECT_SOURCE_DIR}/server/oci ${PROJECT_SOURCE_DIR}/server/include
    CORPUS ${server_fuzz}/corpus/conversion)
  vorn_add_fuzzer(server_oci_later_text_fuzzer
    SOURCES ${server_fuzz}/OciLaterTextFuzzer.cpp
            $<TARGET_OBJECTS:vorn_oci_objects> $<TARGET_OBJECTS:vorn_oci7>
            $<TARGET_OBJECTS:vorn_oci_release_8_1_7>
    LIBS vorn_server_plsql vorn_server_engine ${CMAKE_DL_LIBS} Threads::Threads
    INCLUDES ${PROJECT_SOURCE_DIR}/server/oci ${PROJECT_SOURCE_DIR}/server/include
    CORPUS ${server_fuzz}/corpus/later)
endif()
