# Fails when a test uses one of Qt's own test macros. Inside a GoogleTest body
# they return from the test without failing it, so a broken case passes and the
# cases after it never run; tests check with EXPECT_/ASSERT_ and wait with
# zvtest::waitUntil or QSignalSpy::wait.
# Run as: cmake -DTESTS_DIR=<tests> -DSTAMP=<file> -P CheckTestMacros.cmake
cmake_minimum_required(VERSION 3.25)
set(macro "(^|[^A-Za-z0-9_])(Q(COMPARE|VERIFY|TRY_|FAIL|SKIP|EXPECT_FAIL|FETCH)[A-Z0-9_]*|QTEST)[ \t]*\\(")

file(GLOB_RECURSE files RELATIVE ${TESTS_DIR} ${TESTS_DIR}/*.cpp ${TESTS_DIR}/*.h)
set(faults "")
foreach(file ${files})
  file(STRINGS ${TESTS_DIR}/${file} lines REGEX "${macro}")
  foreach(line ${lines})
    string(REGEX MATCH "${macro}" found "${line}")
    string(REGEX REPLACE "${macro}" "\\2" name "${found}")
    string(APPEND faults "\n  tests/${file} uses ${name}")
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Qt's test macros do not fail a GoogleTest test; use EXPECT_/ASSERT_ instead:${faults}")
endif()

# Qt's waits for a window, and a signal spy's wait without a limit, give up
# after 5 s, which a busy machine passes: the tests wait through
# zvtest::waitExposed and zvtest::waitActive, and give a spy the suite's safety net.
set(window_wait "qWaitForWindow(Exposed|Active)[ \t]*\\(|\\.wait\\(\\)")
foreach(file ${files})
  if(file STREQUAL "support/ProgramFolder.cpp")
    continue()
  endif()
  file(STRINGS ${TESTS_DIR}/${file} lines REGEX "${window_wait}")
  foreach(line ${lines})
    string(REGEX MATCH "${window_wait}" found "${line}")
    string(APPEND faults "\n  tests/${file} uses ${found}")
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Qt's window and spy waits give up after 5 s; use zvtest::waitExposed, "
                      "zvtest::waitActive or wait(zvtest::kSafetyNetMsecs):${faults}")
endif()
file(TOUCH ${STAMP})
