# Runs procfix_bench briefly and checks its one line on stdout.
# Run with -DWINE_RUN=... -DBUILD=... -DBENCH=...
execute_process(COMMAND ${WINE_RUN} --build ${BUILD} ${BENCH} --printers 50 --repeat 1
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 100)
message(STATUS "stderr:\n${err}")
if(NOT rc STREQUAL "0")
  message(FATAL_ERROR "procfix_bench: exit code ${rc}")
endif()
if(NOT out MATCHES "^procfix\t[0-9]+\\.[0-9]+\t[0-9]+\\.[0-9]+\n$")
  message(FATAL_ERROR "procfix_bench: stdout is not one line 'procfix<TAB>ms<TAB>ms': [${out}]")
endif()
message(STATUS "procfix_bench: ${out}")
