# Runs a libFuzzer binary for a bounded time over a copy of its seed corpus.
# -DFUZZER=exe -DSEEDS=dir -DWORK=dir (in the build tree) -DSECONDS=n
foreach(var FUZZER SEEDS WORK SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_fuzz.cmake needs -D${var}=...")
  endif()
endforeach()

# The seeds are copied next to what earlier runs found; the fuzzer writes
# new inputs and crash artifacts only under WORK.
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(GLOB seeds ${SEEDS}/*)
file(COPY ${seeds} DESTINATION ${WORK}/corpus)

execute_process(
  COMMAND ${FUZZER}
          -max_total_time=${SECONDS}
          -rss_limit_mb=2048
          -max_len=140000
          -timeout=25
          -print_final_stats=1
          -artifact_prefix=${WORK}/artifacts/
          ${WORK}/corpus
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzz_receive failed (exit ${rc}); the input is in ${WORK}/artifacts")
endif()
