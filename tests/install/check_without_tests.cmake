# Configures the sources with the tests off and GoogleTest (and the benchmark
# library) ruled out, as a machine that only builds and installs the program
# would, and checks that the program and its install rules are there and no
# test is.
#   cmake -DSOURCE_DIR=... -DWORK=... -DGENERATOR=... -P check_without_tests.cmake
file(REMOVE_RECURSE "${WORK}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${WORK}" -G "${GENERATOR}" -DCARDOMO_TESTS=OFF
          -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring without the tests failed:\n${out}")
endif()
file(READ "${WORK}/src/cmake_install.cmake" install_rules)
foreach(installed "/cardomo\"" "cardomo.desktop" "cardomo.svg" "Manual.rtf")
  string(FIND "${install_rules}" "${installed}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "no install rule for ${installed}")
  endif()
endforeach()
if(EXISTS "${WORK}/tests")
  message(FATAL_ERROR "the tests are configured although CARDOMO_TESTS is OFF")
endif()
file(REMOVE_RECURSE "${WORK}")
message(STATUS "configured without the tests and without GoogleTest")
