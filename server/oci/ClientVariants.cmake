# The client libraries built from the server's objects. They differ only in
# the names they export, chosen by a linker version script written here:
#
#   oracle-home/bin/oci.dll          a version 8.1 client: both call sets and
#                                    OCIDirPathPrepare (the demo home)
#   oracle-home/lib/libclntsh.so.12.1
#                                    the same library as the Linux client
#                                    library, reporting release 12.1 (what
#                                    thick-mode drivers such as node-oracledb
#                                    require: at least 11.2, and 12.1 for
#                                    batch errors with array DML row counts
#                                    and implicit results); lib/libclntsh.so
#                                    links to it
#   test-homes/<variant>/bin/oci.dll the clients the tests of discovery,
#                                    loading and both call sets need:
#     v81            the same names as the demo home's oci.dll
#     v80            a version 8.0 client: both sets, no OCIDirPathPrepare
#     v7             a version 7 client: the version 7 set with olog and
#                    opinit, no version 8 name
#     v7-no-olog     the version 7 client without olog
#     v7-no-opinit   the version 7 client without opinit
#     no-oexfet      the version 8.1 client without oexfet (a version 7 name)
#     no-OCILobRead  the version 8.1 client without OCILobRead (a version 8 name)
#
# Nothing but the listed names is ever exported: the engine, SQLite and the
# C++ runtime pieces linked in stay local. TestHomes.cmake lays out the rest
# of each test home.

# The version 7 call set the library implements (server/oci7), olog and
# opinit included.
set(VORN_OCI7_NAMES
  orlon olog ologof oerhms oopen oparse odefin oexfet ofen oflng oclose odescr oexec oexn ocom
  orol ocon ocof obreak obndra odessp opinit)

find_library(VORN_SQLITE_ARCHIVE NAMES libsqlite3.a)
if(NOT VORN_SQLITE_ARCHIVE)
  message(STATUS "oci.dll: no static SQLite found, linking the shared one")
endif()

# The release OCIClientVersion reports, one object per release.
function(vorn_oci_client_version release)
  string(REPLACE "." ";" parts ${release})
  list(GET parts 0 major)
  list(GET parts 1 minor)
  list(GET parts 2 update)
  string(MAKE_C_IDENTIFIER "vorn_oci_release_${release}" target)
  if(NOT TARGET ${target})
    add_library(${target} OBJECT ${CMAKE_CURRENT_SOURCE_DIR}/ClientVersion.cpp)
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../include)
    target_compile_definitions(${target} PRIVATE VORN_CLIENT_MAJOR=${major}
                               VORN_CLIENT_MINOR=${minor} VORN_CLIENT_UPDATE=${update})
    vorn_target_options(${target})
  endif()
  set(release_objects ${target} PARENT_SCOPE)
endfunction()

# vorn_oci_client(<target> <output folder> [VERSION7] [VERSION8] [DIRPATH]
#                 [HIDE name...] [NODEBUG] [RELEASE x.y.z] [FILE name])
# A client library exporting the version 7 set (VERSION7), the OCI names
# (VERSION8) with or without OCIDirPathPrepare (DIRPATH), less the names
# given to HIDE. NODEBUG leaves the debug information out (test copies).
# RELEASE is what OCIClientVersion reports (8.1.7 by default), FILE the file
# name (oci.dll by default).
function(vorn_oci_client target folder)
  cmake_parse_arguments(ARG "VERSION7;VERSION8;DIRPATH;NODEBUG" "RELEASE;FILE" "HIDE" ${ARGN})
  if(NOT ARG_RELEASE)
    set(ARG_RELEASE 8.1.7)
  endif()
  if(NOT ARG_FILE)
    set(ARG_FILE oci.dll)
  endif()
  vorn_oci_client_version(${ARG_RELEASE})
  # A name listed under global stays global even when it is also listed
  # under local, while a name that is only matched by the OCI* pattern is
  # hidden by listing it under local.
  set(global "")
  set(local "")
  if(ARG_VERSION8)
    list(APPEND global "OCI*")
    if(NOT ARG_DIRPATH)
      list(APPEND local OCIDirPathPrepare)
    endif()
  endif()
  if(ARG_VERSION7)
    list(APPEND global ${VORN_OCI7_NAMES})
  endif()
  foreach(name ${ARG_HIDE})
    if(name IN_LIST global)
      list(REMOVE_ITEM global ${name})
    else()
      list(APPEND local ${name})
    endif()
  endforeach()
  list(APPEND local "*")
  list(JOIN global ";\n    " global_text)
  list(JOIN local ";\n    " local_text)
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  file(CONFIGURE OUTPUT ${map} CONTENT
"/* The names ${target} exports (written by server/oci/ClientVariants.cmake). */
{
  global:
    ${global_text};
  local:
    ${local_text};
};
")

  add_library(${target} SHARED $<TARGET_OBJECTS:vorn_oci_objects> $<TARGET_OBJECTS:vorn_oci7>
                               $<TARGET_OBJECTS:${release_objects}>)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${ARG_FILE}
    SUFFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${folder}
    LINK_DEPENDS ${map})
  vorn_target_options(${target})
  # SQLite goes in statically when a static archive exists: its objects come
  # first (whole archive), so the shared library the engine names is never
  # needed and --as-needed drops it. Debian's archive is not built as PIC;
  # that links because the version script keeps every SQLite symbol local.
  if(VORN_SQLITE_ARCHIVE)
    target_link_options(${target} PRIVATE LINKER:--as-needed
      LINKER:--whole-archive ${VORN_SQLITE_ARCHIVE} LINKER:--no-whole-archive)
  endif()
  target_link_options(${target} PRIVATE LINKER:--version-script=${map})
  if(ARG_NODEBUG)
    target_link_options(${target} PRIVATE LINKER:--strip-debug)
  endif()
  if(NOT VORN_SANITIZE)
    target_link_options(${target} PRIVATE LINKER:--no-undefined)
  endif()
  target_link_libraries(${target} PRIVATE vorn_server_plsql vorn_server_engine ${CMAKE_DL_LIBS}
                                          Threads::Threads)
endfunction()

# The test homes, with their variant libraries.
function(vorn_oci_test_homes)
  set(homes ${PROJECT_BINARY_DIR}/test-homes)
  set(variants
    "v81 VERSION7 VERSION8 DIRPATH"
    "v80 VERSION7 VERSION8"
    "v7 VERSION7"
    "v7-no-olog VERSION7 HIDE olog"
    "v7-no-opinit VERSION7 HIDE opinit"
    "no-oexfet VERSION7 VERSION8 DIRPATH HIDE oexfet"
    "no-OCILobRead VERSION7 VERSION8 DIRPATH HIDE OCILobRead")
  set(names "")
  set(targets "")
  foreach(spec ${variants})
    separate_arguments(args UNIX_COMMAND "${spec}")
    list(POP_FRONT args name)
    string(MAKE_C_IDENTIFIER "vorn_oci_${name}" target)
    vorn_oci_client(${target} ${homes}/${name}/bin ${args} NODEBUG)
    list(APPEND names ${name})
    list(APPEND targets ${target})
  endforeach()
  list(JOIN names "," name_list)
  add_custom_target(oci_test_homes ALL
    COMMAND ${CMAKE_COMMAND}
            -DHOMES=${homes}
            -DVARIANTS=${name_list}
            -DTEMPLATES=${CMAKE_CURRENT_SOURCE_DIR}/home
            -DVORNSQL=$<TARGET_FILE:vornsql>
            -DSEED=${PROJECT_SOURCE_DIR}/server/shell/seed/demo.sql
            -P ${CMAKE_CURRENT_SOURCE_DIR}/TestHomes.cmake
    COMMENT "Client test homes in ${homes}"
    VERBATIM)
  add_dependencies(oci_test_homes vornsql ${targets})
endfunction()
