# Lays out the demo Oracle home (cmake -P, run by the oracle_home target):
#   -DHOME=<oracle home> -DTEMPLATES=<server/oci/home> -DVORNSQL=<vornsql>
#   -DSEED=<demo seed script>
#
# The alias files and the machine-registry file are rewritten only when
# their content changes. The demo database is created and seeded by vornsql
# when it is missing. When the seed script or the engine (vornsql) changes,
# it is seeded anew, but only if nobody has changed it since it was seeded:
# oradata/DEMO.stamp records the inputs it was seeded from and the file's
# checksum right after seeding. A database that was changed (or that has
# unmerged changes in its -wal file) is kept; the build says so, and
# deleting oradata/DEMO.db gets a fresh one at the next build.
cmake_minimum_required(VERSION 3.25)

foreach(dir bin network/admin oradata)
  file(MAKE_DIRECTORY ${HOME}/${dir})
endforeach()

foreach(name tnsnames.ora local.ora)
  file(COPY_FILE ${TEMPLATES}/${name} ${HOME}/network/admin/${name} ONLY_IF_DIFFERENT)
endforeach()

function(write_if_changed path content)
  if(EXISTS ${path})
    file(READ ${path} old)
    if(old STREQUAL content)
      return()
    endif()
  endif()
  file(WRITE ${path} "${content}")
endfunction()

write_if_changed(${HOME}/machine-registry.ini
"; The local-machine hive of the Vorn demo Oracle home (written by the build).
; Point VORN_MACHINE_REGISTRY at this file to use the home.
[SOFTWARE\\ORACLE]
ORACLE_HOME = \"${HOME}\"
ORACLE_HOME_NAME = VornDemoHome
")

set(db ${HOME}/oradata/DEMO.db)
set(stamp ${HOME}/oradata/DEMO.stamp)
file(SHA256 ${VORNSQL} engine_hash)
file(SHA256 ${SEED} seed_hash)
set(inputs "${engine_hash}-${seed_hash}")

function(seed)
  foreach(suffix "" "-wal" "-shm")
    file(REMOVE ${db}${suffix})
  endforeach()
  execute_process(
    COMMAND ${VORNSQL} --create --seed demo
            --banner "Oracle8i Enterprise Edition Release 8.1.7.0.0 - Production" ${db}
    INPUT_FILE /dev/null
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    file(REMOVE ${db})
    message(FATAL_ERROR "Seeding the demo database failed:\n${output}")
  endif()
  file(SHA256 ${db} db_hash)
  file(WRITE ${stamp} "${inputs}\n${db_hash}\n")
  message(STATUS "Oracle home: seeded ${db}")
endfunction()

if(NOT EXISTS ${db})
  seed()
  return()
endif()
if(NOT EXISTS ${stamp})
  message(STATUS "Oracle home: keeping ${db} (not seeded by the build)")
  return()
endif()
file(STRINGS ${stamp} recorded)
list(GET recorded 0 recorded_inputs)
list(LENGTH recorded count)
set(recorded_db "")
if(count GREATER 1)
  list(GET recorded 1 recorded_db)
endif()
if(recorded_inputs STREQUAL inputs)
  return()
endif()
file(SHA256 ${db} db_hash)
set(pending_wal FALSE)
if(EXISTS ${db}-wal)
  file(SIZE ${db}-wal wal_size)
  if(wal_size GREATER 0)
    set(pending_wal TRUE)
  endif()
endif()
if(db_hash STREQUAL recorded_db AND NOT pending_wal)
  seed()
else()
  message(STATUS "Oracle home: the engine or the seed changed, but ${db} was changed since it "
                 "was seeded and is kept; delete it to get a freshly seeded one")
endif()
