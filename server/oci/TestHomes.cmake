# Lays out the client test homes (cmake -P, run by the oci_test_homes
# target): -DHOMES=<folder> -DVARIANTS=<name,name,...> -DTEMPLATES=<server/oci/home>
# -DVORNSQL=<vornsql> -DSEED=<demo seed script>
#
# Each home <HOMES>/<variant> holds, besides bin/oci.dll (built by
# ClientVariants.cmake):
#   network/admin/tnsnames.ora, local.ora   the demo home's aliases
#   oradata/DEMO.db    the demo database, banner of release 8.1.7
#   oradata/ORA7.db    the demo database with a release 7 banner, for the
#                      fallback of a version 8 logon to the version 7 calls
#   machine-registry.ini                    SOFTWARE\ORACLE -> this home
# The databases are fixtures: they are copied afresh whenever the engine or
# the seed script changes; tests that change data work on copies of them.
cmake_minimum_required(VERSION 3.25)

string(REPLACE "," ";" variants "${VARIANTS}")
set(seeds ${HOMES}/.seed)
file(MAKE_DIRECTORY ${seeds})

file(SHA256 ${VORNSQL} engine_hash)
file(SHA256 ${SEED} seed_hash)
set(inputs "${engine_hash}-${seed_hash}")
set(stamp ${seeds}/stamp)
set(fresh FALSE)
if(EXISTS ${stamp})
  file(READ ${stamp} recorded)
  if(recorded STREQUAL inputs AND EXISTS ${seeds}/DEMO.db AND EXISTS ${seeds}/ORA7.db)
    set(fresh TRUE)
  endif()
endif()

function(seed name banner)
  set(db ${seeds}/${name}.db)
  foreach(suffix "" "-wal" "-shm")
    file(REMOVE ${db}${suffix})
  endforeach()
  execute_process(
    COMMAND ${VORNSQL} --create --seed demo --banner ${banner} ${db}
    INPUT_FILE /dev/null
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    file(REMOVE ${db})
    message(FATAL_ERROR "Seeding ${db} failed:\n${output}")
  endif()
endfunction()

if(NOT fresh)
  seed(DEMO "Oracle8i Enterprise Edition Release 8.1.7.0.0 - Production")
  seed(ORA7 "Oracle7 Server Release 7.3.4.0.0 - Production")
  file(WRITE ${stamp} "${inputs}")
endif()

foreach(variant ${variants})
  set(home ${HOMES}/${variant})
  foreach(dir bin network/admin oradata)
    file(MAKE_DIRECTORY ${home}/${dir})
  endforeach()
  foreach(name tnsnames.ora local.ora)
    file(COPY_FILE ${TEMPLATES}/${name} ${home}/network/admin/${name} ONLY_IF_DIFFERENT)
  endforeach()
  file(CONFIGURE OUTPUT ${home}/machine-registry.ini CONTENT
"; The local-machine hive of the ${variant} client test home (written by the build).
[SOFTWARE\\ORACLE]
ORACLE_HOME = \"${home}\"
ORACLE_HOME_NAME = Vorn_${variant}
")
  foreach(db DEMO ORA7)
    if(NOT fresh OR NOT EXISTS ${home}/oradata/${db}.db)
      foreach(suffix "-wal" "-shm")
        file(REMOVE ${home}/oradata/${db}.db${suffix})
      endforeach()
      file(COPY_FILE ${seeds}/${db}.db ${home}/oradata/${db}.db)
    endif()
  endforeach()
endforeach()
