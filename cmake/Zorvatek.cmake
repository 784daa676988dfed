# The layers of the system, lowest first. Each library links only to the
# libraries below it; cmake/CheckLayers.cmake fails the build when a file
# includes a folder its layer may not see.
#
# zv_library(name FOLDERS dir... LINKS lib...): one static library from every
# file of the given folders (not their subfolders), so adding a window or a
# module needs no change here.
function(zv_library name)
  cmake_parse_arguments(ARG "" "" "FOLDERS;LINKS;EXCLUDE" ${ARGN})
  set(sources)
  foreach(dir ${ARG_FOLDERS})
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
    list(APPEND sources ${found})
  endforeach()
  foreach(skip ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "/${skip}$")
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  add_dependencies(${name} zv_layer_check)
endfunction()

# The sub-folders of src/<top> (relative to src), but those named in EXCLUDE.
function(zv_subfolders out top)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB entries LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${top}/*)
  set(dirs)
  foreach(entry ${entries})
    get_filename_component(name ${entry} NAME)
    if(IS_DIRECTORY ${entry} AND NOT name IN_LIST ARG_EXCLUDE)
      list(APPEND dirs ${top}/${name})
    endif()
  endforeach()
  set(${out} ${dirs} PARENT_SCOPE)
endfunction()

# The include check and the wait check run whenever a source file changes.
function(zv_layer_check)
  file(GLOB_RECURSE checked CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*)
  set(stamp ${CMAKE_BINARY_DIR}/layers.checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/src -DSTAMP=${stamp}
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/src -DSTAMP=${stamp}
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckWaits.cmake
    DEPENDS ${checked} ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake ${PROJECT_SOURCE_DIR}/cmake/CheckWaits.cmake
            ${PROJECT_SOURCE_DIR}/scripts/check-waits
    COMMENT "Checking that no layer includes one above it and every wait goes through its owner")
  add_custom_target(zv_layer_check DEPENDS ${stamp})
endfunction()

# The test macro check runs whenever a test file changes.
function(zv_test_macro_check)
  file(GLOB_RECURSE checked CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.h)
  set(stamp ${CMAKE_BINARY_DIR}/test-macros.checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DTESTS_DIR=${PROJECT_SOURCE_DIR}/tests -DSTAMP=${stamp}
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckTestMacros.cmake
    DEPENDS ${checked} ${PROJECT_SOURCE_DIR}/cmake/CheckTestMacros.cmake
    COMMENT "Checking that no test uses Qt's test macros")
  add_custom_target(zv_test_macro_check DEPENDS ${stamp})
endfunction()

# One test executable per folder of src (its subfolders included), each test case run by CTest on its own.
# An optional third argument: the seconds each test may take (120 by default).
function(zv_test_suite name dir)
  set(timeout 120)
  if(ARGC GREATER 2)
    set(timeout ${ARGV2})
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE zv_test_support zv_app)
  target_precompile_headers(${name} REUSE_FROM zv_test_support)
  add_dependencies(${name} zv_test_macro_check)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZV_PROGRAM_DIR=${ZV_PROGRAM_DIR}" TIMEOUT ${timeout})
endfunction()
