# Fails when a wait that lets events run, or one that blocks the windows on a
# peer, appears outside their one owner (src/platform/forms/waits/Waits.cpp):
# scripts/check-waits reads every file under src for the words of such a wait,
# however they are spelt; it says what it found and where.
# Run as: cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P CheckWaits.cmake
cmake_minimum_required(VERSION 3.25)
find_program(PERL perl REQUIRED)
execute_process(COMMAND ${PERL} ${CMAKE_CURRENT_LIST_DIR}/../scripts/check-waits ${SOURCE_DIR}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Every wait goes through forms:: in platform/forms/waits/Waits.h")
endif()
file(TOUCH ${STAMP})
