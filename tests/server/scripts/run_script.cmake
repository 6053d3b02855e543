# Runs one conformance script through vornsql on a fresh demo database and
# compares the shell's output with the expected file.
#   cmake -DVORNSQL=... -DSCRIPT=x.sql -DEXPECTED=x.expected -DWORK=dir -P run_script.cmake
# The script runs as SCOTT/TIGER unless its first line reads
# "-- user: NAME/PASSWORD".
get_filename_component(name ${SCRIPT} NAME_WE)
set(db ${WORK}/${name}.db)
file(MAKE_DIRECTORY ${WORK})
file(REMOVE ${db} ${db}-wal ${db}-shm)
set(user scott/tiger)
file(STRINGS ${SCRIPT} first LIMIT_COUNT 1)
if(first MATCHES "^-- user: ([^ ]+)")
  set(user ${CMAKE_MATCH_1})
endif()
execute_process(
  COMMAND ${VORNSQL} --create --seed demo -u ${user} ${db}
  INPUT_FILE ${SCRIPT}
  OUTPUT_FILE ${WORK}/${name}.out
  ERROR_VARIABLE err
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "vornsql failed (${rc}): ${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files --ignore-eol ${WORK}/${name}.out ${EXPECTED}
                RESULT_VARIABLE differ)
if(differ)
  execute_process(COMMAND diff -u ${EXPECTED} ${WORK}/${name}.out OUTPUT_VARIABLE d)
  message(FATAL_ERROR "output differs from ${EXPECTED}:\n${d}")
endif()
file(REMOVE ${db} ${db}-wal ${db}-shm)
