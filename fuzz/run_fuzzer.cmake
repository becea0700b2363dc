# Runs one fuzzer deterministically: an emptied scratch folder first (it receives
# new inputs), the seed corpus second (only read).
foreach(var FUZZER SCRATCH ARTIFACTS CORPUS RUNS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_fuzzer.cmake needs -D${var}=...")
  endif()
endforeach()
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
execute_process(
  COMMAND "${FUZZER}" -seed=1 -runs=${RUNS} -artifact_prefix=${ARTIFACTS} "${SCRATCH}" "${CORPUS}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result})")
endif()
