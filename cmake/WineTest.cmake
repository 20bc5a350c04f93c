# Win32 tests run under wine64 through tests/harness/wine-run.
#
# zb_add_wine_test(NAME <name> COMMAND <target-or-path>
#                  [ARGS <arg>...] [TIMEOUT <seconds>] [WORKING_DIRECTORY <dir>]
#                  [PREFIX <dir>] [LABELS <label>...]
#                  [SCREENSHOT <file> [SCREENSHOT_AFTER <seconds>]]
#                  [EXPECT_EXIT <code>] [LOCALE <name>] [LAUNCHER <command>...])
#   Runs COMMAND (a target's file, or a path) under wine-run.  TIMEOUT (default
#   120) is wine-run's limit for the program; the ctest TIMEOUT is 60 s more.
#   WORKING_DIRECTORY defaults to the current binary directory, PREFIX to
#   ZB_WINE_PREFIX.  EXPECT_EXIT makes the test pass only on that exit code
#   (124: the program ran into TIMEOUT).  LOCALE is the Unix locale of the run
#   (wine-run --locale; default ru_RU.UTF-8, ANSI code page 1251; en_US.UTF-8
#   gives the code page 1252 of a Western system).  LAUNCHER runs wine-run itself
#   (given as its last arguments), for example to serve files next to the
#   program.  Every such test has the label "wine",
#   a RESOURCE_LOCK on its prefix (one program per prefix at a time, as the
#   processes of a prefix share one wineserver) and requires the fixture that
#   makes the prefix.
#
# zb_add_gtest_wine(NAME <name> TARGET <gtest-target> [ARGS ...] [<as above>])
#   The same for a GoogleTest executable; adds --gtest_color=no.
#
# Per prefix there is one setup test creating it (wine.prefix for the default
# prefix, fixture "wineprefix") and one cleanup test, run after all the tests
# of the prefix, that fails if a process of the prefix is still alive
# (wine.leftovers).

include_guard(GLOBAL)

find_program(ZB_BASH bash REQUIRED)
cmake_path(SET ZB_WINE_RUN NORMALIZE "${CMAKE_CURRENT_LIST_DIR}/../tests/harness/wine-run")
set(ZB_WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH
    "Wine prefix of the Win32 tests (made on first use)")
set(ZB_WINE_PREFIX_TIMEOUT 600 CACHE STRING
    "ctest timeout of the test that creates a wine prefix, in seconds")

# Prints the processes whose environment names the prefix $1 and fails if
# there are any; this script's own process and its parent (ctest) are skipped.
set(_ZB_WINE_LEFTOVERS_SCRIPT [=[
p=$1; unset WINEPREFIX; found=0
for d in /proc/[0-9]*; do
  pid=${d#/proc/}
  [ "$pid" = $$ ] || [ "$pid" = "$PPID" ] && continue
  if { tr '\0' '\n' <"$d/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$p"; then
    echo "left running: pid $pid: $({ tr '\0' ' ' <"$d/cmdline"; } 2>/dev/null)"
    found=1
  fi
done
exit $found
]=])

# Sets <out_var> to the fixture that creates <prefix>; defines the setup and
# cleanup tests of that fixture the first time a prefix is seen.
function(_zb_wine_prefix_fixture prefix out_var)
  if(prefix STREQUAL ZB_WINE_PREFIX)
    set(fixture wineprefix)
    set(setup wine.prefix)
    set(cleanup wine.leftovers)
  else()
    string(MD5 hash "${prefix}")
    string(SUBSTRING "${hash}" 0 8 hash)
    set(fixture wineprefix.${hash})
    set(setup wine.prefix.${hash})
    set(cleanup wine.leftovers.${hash})
  endif()
  get_property(known GLOBAL PROPERTY _ZB_WINE_PREFIXES)
  if(NOT prefix IN_LIST known)
    set_property(GLOBAL APPEND PROPERTY _ZB_WINE_PREFIXES "${prefix}")
    add_test(NAME ${setup}
             COMMAND ${ZB_BASH} ${ZB_WINE_RUN} --prefix ${prefix} --init-only)
    set_tests_properties(${setup} PROPERTIES
      FIXTURES_SETUP ${fixture}
      RESOURCE_LOCK "${prefix}"
      TIMEOUT ${ZB_WINE_PREFIX_TIMEOUT}
      LABELS wine
      ENVIRONMENT "ZB_BUILD_DIR=${CMAKE_BINARY_DIR}")
    add_test(NAME ${cleanup}
             COMMAND ${ZB_BASH} -c "${_ZB_WINE_LEFTOVERS_SCRIPT}" leftovers ${prefix})
    set_tests_properties(${cleanup} PROPERTIES
      FIXTURES_CLEANUP ${fixture}
      RESOURCE_LOCK "${prefix}"
      TIMEOUT 60
      LABELS wine)
  endif()
  set(${out_var} ${fixture} PARENT_SCOPE)
endfunction()

function(zb_add_wine_test)
  cmake_parse_arguments(PARSE_ARGV 0 W ""
    "NAME;COMMAND;TIMEOUT;WORKING_DIRECTORY;PREFIX;SCREENSHOT;SCREENSHOT_AFTER;EXPECT_EXIT;LOCALE"
    "ARGS;LABELS;LAUNCHER")
  if(W_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "zb_add_wine_test: unknown arguments: ${W_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT W_NAME OR NOT W_COMMAND)
    message(FATAL_ERROR "zb_add_wine_test: NAME and COMMAND are required")
  endif()
  if(NOT DEFINED W_TIMEOUT)
    set(W_TIMEOUT 120)
  endif()
  if(NOT W_TIMEOUT MATCHES "^[0-9]+$")
    message(FATAL_ERROR "zb_add_wine_test(${W_NAME}): TIMEOUT must be whole seconds")
  endif()
  if(NOT W_WORKING_DIRECTORY)
    set(W_WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  get_filename_component(W_WORKING_DIRECTORY "${W_WORKING_DIRECTORY}" ABSOLUTE
                         BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  if(NOT W_PREFIX)
    set(W_PREFIX "${ZB_WINE_PREFIX}")
  endif()
  get_filename_component(W_PREFIX "${W_PREFIX}" ABSOLUTE BASE_DIR "${CMAKE_BINARY_DIR}")

  if(TARGET ${W_COMMAND})
    set(program "$<TARGET_FILE:${W_COMMAND}>")
  else()
    set(program "${W_COMMAND}")
  endif()

  set(opts --prefix "${W_PREFIX}" --timeout ${W_TIMEOUT} --cwd "${W_WORKING_DIRECTORY}")
  if(W_SCREENSHOT)
    get_filename_component(shot "${W_SCREENSHOT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
    list(APPEND opts --screenshot "${shot}")
    if(W_SCREENSHOT_AFTER)
      list(APPEND opts --screenshot-after ${W_SCREENSHOT_AFTER})
    endif()
  endif()
  if(DEFINED W_EXPECT_EXIT)
    list(APPEND opts --expect-exit ${W_EXPECT_EXIT})
  endif()
  if(W_LOCALE)
    list(APPEND opts --locale ${W_LOCALE})
  endif()

  add_test(NAME ${W_NAME}
           COMMAND ${W_LAUNCHER} ${ZB_BASH} ${ZB_WINE_RUN} ${opts} -- ${program} ${W_ARGS}
           WORKING_DIRECTORY "${W_WORKING_DIRECTORY}")

  _zb_wine_prefix_fixture("${W_PREFIX}" fixture)
  math(EXPR ctest_timeout "${W_TIMEOUT} + 60")
  set(labels wine ${W_LABELS})
  set_tests_properties(${W_NAME} PROPERTIES
    TIMEOUT ${ctest_timeout}
    RESOURCE_LOCK "${W_PREFIX}"
    FIXTURES_REQUIRED ${fixture}
    LABELS "${labels}"
    ENVIRONMENT "ZB_BUILD_DIR=${CMAKE_BINARY_DIR}")
endfunction()

function(zb_add_gtest_wine)
  cmake_parse_arguments(PARSE_ARGV 0 G "" "NAME;TARGET" "ARGS")
  if(NOT G_NAME OR NOT G_TARGET)
    message(FATAL_ERROR "zb_add_gtest_wine: NAME and TARGET are required")
  endif()
  zb_add_wine_test(NAME ${G_NAME} COMMAND ${G_TARGET}
                   ARGS --gtest_color=no ${G_ARGS}
                   ${G_UNPARSED_ARGUMENTS})
endfunction()

# The default prefix gets its setup and cleanup tests even before any test uses it.
_zb_wine_prefix_fixture("${ZB_WINE_PREFIX}" _zb_unused)
