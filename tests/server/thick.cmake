# A third-party program over the client library: Oracle's Node.js driver in
# thick mode (npm package oracledb, which ./test.sh installs into
# .cache/thick-driver when run as root) runs thick/thick_mode.js against a
# fresh demo database through the demo home's lib/libclntsh.so, and must
# print exactly thick/thick_mode.expected. Skipped, saying why, when node or
# the package is missing. Not in sanitizer builds: node itself is not
# instrumented, so it cannot load an instrumented client library.
set(VORN_THICK_DRIVER_MODULES ${PROJECT_SOURCE_DIR}/.cache/thick-driver/node_modules
    CACHE PATH "node_modules folder holding the oracledb package for the thick-mode test")
if(TARGET vorn_clntsh AND NOT VORN_SANITIZE)
  add_test(NAME server_thick_mode
           COMMAND ${CMAKE_COMMAND} -DVORNSQL=$<TARGET_FILE:vornsql>
                   -DLIBDIR=$<TARGET_FILE_DIR:vorn_clntsh>
                   -DMODULES=${VORN_THICK_DRIVER_MODULES}
                   -DSCRIPT=${CMAKE_CURRENT_SOURCE_DIR}/thick/thick_mode.js
                   -DEXPECTED=${CMAKE_CURRENT_SOURCE_DIR}/thick/thick_mode.expected
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/thick
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/thick/run_thick_mode.cmake)
  set_tests_properties(server_thick_mode PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED:")
endif()
