# Runs thick_mode.js with node against a fresh demo database and compares
# its output with the expected file.
#   cmake -DVORNSQL=... -DLIBDIR=<home>/lib -DMODULES=<node_modules> -DSCRIPT=thick_mode.js
#         -DEXPECTED=thick_mode.expected -DWORK=dir -P run_thick_mode.cmake
# The database is reached through an alias of a tnsnames.ora written in
# WORK (TNS_ADMIN), so the demo home's own database stays untouched.
find_program(NODE node)
if(NOT NODE)
  message("SKIPPED: node is not installed")
  return()
endif()
if(NOT EXISTS ${MODULES}/oracledb/package.json)
  message("SKIPPED: the npm package oracledb is not installed in ${MODULES} "
          "(./test.sh installs it when run as root and the npm registry is reachable)")
  return()
endif()

set(db ${WORK}/thick.db)
file(MAKE_DIRECTORY ${WORK})
file(REMOVE ${db} ${db}-wal ${db}-shm)
execute_process(COMMAND ${VORNSQL} --create --seed demo ${db}
                INPUT_FILE /dev/null OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "vornsql failed (${rc}): ${err}")
endif()
file(WRITE ${WORK}/tnsnames.ora "THICK = (DESCRIPTION = (CONNECT_DATA = (PATH = ${db})))\n")

# Dates print in UTC, whatever the machine's zone.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC TNS_ADMIN=${WORK} NODE_PATH=${MODULES}
          ${NODE} ${SCRIPT} ${LIBDIR} THICK
  OUTPUT_FILE ${WORK}/thick_mode.out
  ERROR_VARIABLE err
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(READ ${WORK}/thick_mode.out out)
  message(FATAL_ERROR "node failed (${rc}):\n${out}${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files --ignore-eol ${WORK}/thick_mode.out
                        ${EXPECTED}
                RESULT_VARIABLE differ)
if(differ)
  execute_process(COMMAND diff -u ${EXPECTED} ${WORK}/thick_mode.out OUTPUT_VARIABLE d)
  message(FATAL_ERROR "output differs from ${EXPECTED}:\n${d}")
endif()
file(REMOVE ${db} ${db}-wal ${db}-shm)
