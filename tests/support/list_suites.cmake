# Writes the ctest file of one GoogleTest program: a test for each of its
# test suites, run by --gtest_filter in a process of its own. A suite's tests
# share that process; each test still starts from the state its fixture
# makes. Run after the program is built:
#   cmake -D PROGRAM=... -D OUTPUT=... -D LABEL=... [-D ENVIRONMENT=...] -P list_suites.cmake
cmake_minimum_required(VERSION 3.21)
execute_process(COMMAND "${PROGRAM}" --gtest_list_tests
                OUTPUT_VARIABLE listing
                ERROR_VARIABLE errors
                RESULT_VARIABLE status
                TIMEOUT 60)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --gtest_list_tests failed (${status}):\n${errors}")
endif()

set(content "# Written by list_suites.cmake from ${PROGRAM} --gtest_list_tests.\n")
set(suites "")
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  # "Suite." or "Prefix/Suite." (a parameterised suite), maybe followed by
  # "  # TypeParam = ..."; the tests below it are indented.
  if(line MATCHES "^([A-Za-z0-9_/]+)\\.")
    set(suite "${CMAKE_MATCH_1}")
    if(suite IN_LIST suites)
      continue()
    endif()
    list(APPEND suites "${suite}")
    # Named by the label and the suite ("windows.ReplaceTest"), as two
    # programs may have suites of one name.
    set(name "${LABEL}.${suite}")
    string(APPEND content "add_test([==[${name}]==] [==[${PROGRAM}]==] [==[--gtest_filter=${suite}.*]==])\n")
    string(APPEND content "set_tests_properties([==[${name}]==] PROPERTIES LABELS [==[${LABEL}]==]")
    if(ENVIRONMENT)
      string(APPEND content " ENVIRONMENT [==[${ENVIRONMENT}]==]")
    endif()
    string(APPEND content ")\n")
  endif()
endforeach()
if(suites STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} lists no test suite")
endif()
# Written aside and renamed, so that a ctest run that starts meanwhile reads
# the old list or the new one, never half of one.
file(WRITE "${OUTPUT}.new" "${content}")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
