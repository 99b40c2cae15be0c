# Runs the fuzzer once on every committed input: the seeds and each input that
# once made it fail (tests/fuzz/regressions, where scripts/fuzz puts them).
#   cmake -DFUZZER=PATH -DSEEDS=DIR -DREGRESSIONS=DIR -P replay.cmake
set(inputs)
foreach(dir IN ITEMS "${SEEDS}" "${REGRESSIONS}")
  file(GLOB found LIST_DIRECTORIES false "${dir}/*")
  list(FILTER found EXCLUDE REGEX "/README[^/]*$")
  list(APPEND inputs ${found})
endforeach()
if(NOT inputs)
  message(FATAL_ERROR "no inputs in ${SEEDS} or ${REGRESSIONS}")
endif()
list(SORT inputs)
list(LENGTH inputs count)
# Given files, libFuzzer runs each once and stops at the first that fails.
execute_process(COMMAND "${FUZZER}" ${inputs} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the fuzzer failed on an input above (exit ${result})")
endif()
message(STATUS "${count} inputs replayed")
