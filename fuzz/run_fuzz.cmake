# Runs a libFuzzer binary for a bounded time over a copy of its seed corpus.
# -DFUZZER=exe -DSEEDS=dir -DWORK=dir (in the build tree) -DSECONDS=n
# and optionally -DDICT=file (a libFuzzer dictionary).
foreach(var FUZZER SEEDS WORK SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_fuzz.cmake needs -D${var}=...")
  endif()
endforeach()

set(dict_option)
if(DEFINED DICT AND NOT DICT STREQUAL "")
  if(NOT EXISTS ${DICT})
    message(FATAL_ERROR "run_fuzz.cmake: no dictionary ${DICT}")
  endif()
  set(dict_option -dict=${DICT})
endif()

# The seeds are small: big listings and long lines are written as repeat
# chunks the targets expand (fuzz_support.h), so a short -max_len keeps the
# mutated inputs cheap without losing the full tables and the full receive
# buffer. -reload=0: the corpus folder is this run's alone, and re-reading
# it every second cost a share of the run. An input that expands to a full
# buffer costs a hundred short ones: the fuzzer picks inputs less often the
# longer they take, which keeps them in the corpus and mutated.
# The seeds are copied next to what earlier runs found; the fuzzer writes
# new inputs and crash artifacts only under WORK.
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(GLOB seeds LIST_DIRECTORIES false ${SEEDS}/*)
if(NOT seeds)
  message(FATAL_ERROR "run_fuzz.cmake: no seeds in ${SEEDS}")
endif()
file(COPY ${seeds} DESTINATION ${WORK}/corpus)

get_filename_component(name ${FUZZER} NAME)
execute_process(
  COMMAND ${FUZZER}
          -max_total_time=${SECONDS}
          -rss_limit_mb=2048
          -max_len=4096
          -reload=0
          -entropic_scale_per_exec_time=1
          -timeout=25
          -print_final_stats=1
          ${dict_option}
          -artifact_prefix=${WORK}/artifacts/
          ${WORK}/corpus
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${name} failed (exit ${rc}); the input is in ${WORK}/artifacts")
endif()
