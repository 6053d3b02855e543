# Helpers that give every target of the project the same shape.

set(VORN_EXPORTED_TARGETS "" CACHE INTERNAL "")

# Warnings and sanitizers for one of our own targets.
function(vorn_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(VORN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(VORN_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=${VORN_SANITIZE} -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=${VORN_SANITIZE})
    # An undefined-behaviour report fails the run instead of scrolling by.
    if(VORN_SANITIZE MATCHES "undefined")
      target_compile_options(${target} PRIVATE -fno-sanitize-recover=all)
    endif()
  endif()
  if(VORN_FUZZ)
    # Coverage feedback for libFuzzer from every library a target links.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# vorn_add_library(<subsystem> SOURCES ... [DEPENDS ...])
# Creates the static library vorn_<subsystem>, exported and bundled into
# vorn::vorn. Public headers live in include/vorn/<subsystem>/; everything in
# the subsystem folder itself is private to it.
function(vorn_add_library subsystem)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  set(target vorn_${subsystem})
  add_library(${target} STATIC ${ARG_SOURCES})
  add_library(vorn::${subsystem} ALIAS ${target})
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${subsystem} OUTPUT_NAME vorn_${subsystem})
  target_include_directories(${target}
    PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include> $<INSTALL_INTERFACE:include>
    PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  vorn_target_options(${target})
  target_link_libraries(vorn INTERFACE ${target})
  set(VORN_EXPORTED_TARGETS ${VORN_EXPORTED_TARGETS} ${target} CACHE INTERNAL "")
endfunction()

# vorn_add_test(<name> [THREADED] SOURCES ... [LIBS ...])
# A GoogleTest executable whose tests are registered with CTest one by one.
# THREADED labels them "threads": the program runs code on several threads,
# and `./test.sh tsan` runs it under ThreadSanitizer.
function(vorn_add_test name)
  cmake_parse_arguments(ARG "THREADED" "" "SOURCES;LIBS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest GTest::gtest_main)
  vorn_target_options(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  if(VORN_SANITIZE)
    # Under the sanitizers the test code itself compiles at -O0, in half the
    # time -O1 takes; the libraries it tests keep the folder's optimisation.
    target_compile_options(${name} PRIVATE -O0)
  endif()
  set(label one-thread)
  if(ARG_THREADED)
    set(label threads)
  endif()
  include(GoogleTest)
  # Every property here must be a single value: the discovery script spreads
  # a list over the property/value pairs and shifts every pair after it (a
  # list-valued ENVIRONMENT once swallowed the LABELS, so that no test had
  # a label and `ctest -L threads` ran nothing).
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    PROPERTIES LABELS ${label} ENVIRONMENT "VORN_BUILD_DIR=${PROJECT_BINARY_DIR}")
endfunction()
