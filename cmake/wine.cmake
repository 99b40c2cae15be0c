# Windows test programs run under Wine through scripts/wine-run.
set(SPOOLSCOPE_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run)
if(NOT EXISTS ${SPOOLSCOPE_WINE_RUN})
  message(FATAL_ERROR "scripts/wine-run is missing: Windows tests cannot run")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${SPOOLSCOPE_WINE_RUN} --build ${CMAKE_BINARY_DIR})

# The Wine session (Xvfb and wineserver) is started once per test run and
# stopped at its end; every Windows test requires the fixture.
if(SPOOLSCOPE_RUN_TESTS)
  add_test(NAME wine.session.start COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --start)
  add_test(NAME wine.session.stop COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --stop)
  set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP wine)
endif()
