# GoogleTest from the sources that Debian's googletest package ships; built
# with each toolchain, never downloaded.
set(SPOOLSCOPE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${SPOOLSCOPE_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${SPOOLSCOPE_GTEST_SOURCE} (apt-get install googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${SPOOLSCOPE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# Registers a GoogleTest program's cases with CTest; further arguments are
# test properties (e.g. RESOURCE_LOCK name). Windows programs are listed and
# run through the emulator; they need the Wine session fixture.
function(spoolscope_add_gtest target)
  if(NOT SPOOLSCOPE_RUN_TESTS)
    return()
  endif()
  if(WIN32)
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 180 ${ARGN})
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 180 ${ARGN})
  endif()
endfunction()
