# Checks the test runner: exit codes pass through, a crash fails, a hang is
# killed. Run with -DWINE_RUN=... -DBUILD=... -DPROBE=...
function(expect_exit args expected)
  string(TIMESTAMP start "%s")
  execute_process(COMMAND ${WINE_RUN} --build ${BUILD} ${PROBE} ${args}
                  RESULT_VARIABLE rc OUTPUT_FILE ${BUILD}/exit_probe.out ERROR_QUIET TIMEOUT 60)
  string(TIMESTAMP end "%s")
  math(EXPR seconds "${end} - ${start}")
  if(expected STREQUAL "nonzero" AND rc MATCHES "^[1-9][0-9]*$")
    # any failure code will do
  elseif(NOT rc STREQUAL expected)
    message(FATAL_ERROR "exit_probe ${args}: exit code ${rc}, expected ${expected} (${seconds} s)")
  endif()
  message(STATUS "exit_probe ${args}: exit code ${rc} as expected (${seconds} s)")
endfunction()

expect_exit(0 0)
expect_exit(3 3)
expect_exit(crash nonzero)  # whatever the output is connected to
set(ENV{WINE_RUN_TIMEOUT} 3)
expect_exit(hang 124)
