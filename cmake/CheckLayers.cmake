# Fails when a source file reaches into a folder that its layer may not see,
# by an include of any spelling (#include "dir/…", #include <dir/…>,
# #  include "dir/…"), or opens a namespace that belongs to another folder.
# Run as: cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P CheckLayers.cmake
#
# Layers, lowest first: platform; core; rig and log (beside each other);
# the windows (terminal, startup, logwindows, sstv, settings, spots: they may use
# each other); app.
#
# A file's namespace is its folder's or that of a folder above it
# (src/terminal/engines opens terminal::engines, src/sstv/qso opens sstv,
# src/log opens logbook) or its window's; the registry's
# `forms` and the platform's own namespaces are open to all.
cmake_minimum_required(VERSION 3.25)
set(windows terminal startup logwindows sstv settings spots)
set(allowed_platform platform)
set(allowed_core platform core)
set(allowed_rig platform core rig)
set(allowed_log platform core log)
set(allowed_windows platform core rig log ${windows})
set(allowed_app platform core rig log ${windows} app)
set(source_folders platform core rig log app ${windows})

# The namespace that each folder owns, where it differs from the folder's name
# (`log` would hide the C library's log()).
set(namespace_of_log logbook)

function(layer_of top out)
  if(top IN_LIST windows)
    set(${out} windows PARENT_SCOPE)
  else()
    set(${out} ${top} PARENT_SCOPE)
  endif()
endfunction()

# The folder (relative to src) that owns namespace `ns` (a::b written as a::b),
# or "" when the namespace is no folder's.
function(owner_of ns out)
  string(REPLACE "::" ";" parts "${ns}")
  list(GET parts 0 first)
  set(owner "")
  foreach(folder ${source_folders})
    set(name ${folder})
    if(DEFINED namespace_of_${folder})
      set(name ${namespace_of_${folder}})
    endif()
    if(first STREQUAL name)
      set(owner ${folder})
    endif()
  endforeach()
  if(owner STREQUAL "terminal")
    list(LENGTH parts n)
    if(n GREATER 1)
      list(GET parts 1 second)
      set(owner terminal/${second})
    endif()
  endif()
  set(${out} "${owner}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
set(faults "")
foreach(file ${files})
  get_filename_component(folder ${file} DIRECTORY)
  string(REGEX REPLACE "/.*" "" top "${folder}")
  layer_of(${top} layer)
  if(NOT DEFINED allowed_${layer})
    string(APPEND faults "\n  ${file}: folder ${folder} belongs to no layer")
    continue()
  endif()

  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][^/\">]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^/\">]+)/.*" "\\1" target "${line}")
    if(target IN_LIST source_folders AND NOT target STREQUAL top AND NOT target IN_LIST allowed_${layer})
      string(APPEND faults "\n  ${file} includes ${target}/, which its layer may not see")
    endif()
  endforeach()

  file(STRINGS ${SOURCE_DIR}/${file} opened REGEX "^[ \t]*(inline[ \t]+)?namespace[ \t]+[A-Za-z_][A-Za-z_0-9:]*[ \t]*{")
  foreach(line ${opened})
    string(REGEX REPLACE "^[ \t]*(inline[ \t]+)?namespace[ \t]+([A-Za-z_][A-Za-z_0-9:]*).*" "\\2" ns "${line}")
    owner_of(${ns} owner)
    # A folder's namespace is open to its own sub-folders.
    if(owner STREQUAL "" OR folder STREQUAL owner OR folder MATCHES "^${owner}/")
      continue()
    endif()
    string(REGEX REPLACE "/.*" "" owner_top "${owner}")
    layer_of(${owner_top} owner_layer)
    if(NOT owner_top IN_LIST allowed_${layer})
      string(APPEND faults "\n  ${file} opens namespace ${ns} of the ${owner_layer} layer above it")
    else()
      string(APPEND faults "\n  ${file} opens namespace ${ns}, which belongs to src/${owner}")
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Layering broken:${faults}")
endif()
file(TOUCH ${STAMP})
