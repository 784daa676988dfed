# Fails when a wait that lets events run appears outside their one owner
# (src/platform/forms/waits/Waits.cpp): pending events run, a modal dialog or a menu
# executes, a static dialog getter opens. Everything the operator or a peer
# does meanwhile must meet the owner's rule; the small outside programs under
# platform/programs are processes of their own and are not looked at.
# Run as: cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P CheckWaits.cmake
cmake_minimum_required(VERSION 3.25)
set(wait "processEvents|sendPostedEvents|(\\.|->)exec\\(|Q(Input|File|Color|Font)Dialog::get|QMessageBox::(information|warning|question|critical|about)")

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
set(faults "")
foreach(file ${files})
  if(file STREQUAL "platform/forms/waits/Waits.cpp" OR file MATCHES "^platform/programs/")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "${wait}")
  foreach(line ${lines})
    if(line MATCHES "^[ \t]*//")
      continue()
    endif()
    string(STRIP "${line}" line)
    string(APPEND faults "\n  src/${file}: ${line}")
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "A wait that lets events run goes through forms:: in platform/forms/waits/Waits.h:${faults}")
endif()
file(TOUCH ${STAMP})
