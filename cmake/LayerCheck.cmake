# Keeps lower layers from including higher ones, Qt out of the core and out of the headless
# tools, and the programs under tools/ out of everything under src/.
# A layer may include its own headers and those of layers of a lower rank.
# Run as: cmake -DSOURCE_DIR=<repo> -P cmake/LayerCheck.cmake

cmake_policy(SET CMP0057 NEW)

set(rank_Platform 0)
set(rank_Timecode 1)
set(rank_Config 1)
set(rank_FileIO 1)
set(rank_Project 2)
# The operations change the model, and the reports, the services and the windows run them:
# above the model, below everything that uses them.
set(rank_Project/Operations 2.5)
set(rank_Audio 3)
set(rank_Midi 3)
set(rank_PDF 3)
set(rank_Controller 4)
set(rank_Show 5)
set(rank_GUI 6)
set(rank_GUIMain 7)
set(gui_modules GUI GUIMain)
# Folders below a module that form a layer of their own.
set(sublayers Project/Operations)

# Tools are programs on top of every layer: a tool may include any module. Only the tools
# listed here have a window; the others (the command-line program, the device simulator) run
# headless and may include neither Qt nor the GUI modules.
set(gui_tools gallery)
# The artwork tool draws the program's pictures at build time with Qt's painter (QtGui
# only): it may include Qt, but not the GUI modules, which it has no use for.
set(qt_image_tools artwork)

# The layer an include names (the folder after "src/"), or "" for anything else.
function(included_layer line out)
  set(layer "")
  foreach(sub IN LISTS sublayers)
    if(line MATCHES "#[ \t]*include[ \t]*\"${sub}/")
      set(layer ${sub})
    endif()
  endforeach()
  if(NOT layer AND line MATCHES "#[ \t]*include[ \t]*\"([A-Za-z]+)/")
    set(layer ${CMAKE_MATCH_1})
  endif()
  set(${out} ${layer} PARENT_SCOPE)
endfunction()

# The layer of a file under src/.
function(file_layer module path out)
  set(layer ${module})
  foreach(sub IN LISTS sublayers)
    if(path MATCHES "^${SOURCE_DIR}/src/${sub}/")
      set(layer ${sub})
    endif()
  endforeach()
  set(${out} ${layer} PARENT_SCOPE)
endfunction()

set(failures "")

# Includes that reach into tools/ (by path, or by climbing out of the source folder).
function(check_no_tools_include f line)
  if(line MATCHES "#[ \t]*include[ \t]*[<\"]([^>\"]*/)?tools/" OR
     line MATCHES "#[ \t]*include[ \t]*[<\"]\\.\\./")
    file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
    set(failures "${failures}${rel}: may not include the tools: ${line}\n" PARENT_SCOPE)
  endif()
endfunction()

file(GLOB modules RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*)
foreach(module IN LISTS modules)
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/src/${module})
    continue()
  endif()
  if(NOT DEFINED rank_${module})
    string(APPEND failures "src/${module}: folder has no layer rank in cmake/LayerCheck.cmake\n")
    continue()
  endif()
  file(GLOB_RECURSE files ${SOURCE_DIR}/src/${module}/*.h ${SOURCE_DIR}/src/${module}/*.cpp)
  foreach(f IN LISTS files)
    file_layer(${module} ${f} layer)
    file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      included_layer("${line}" target)
      if(target AND DEFINED rank_${target} AND NOT target STREQUAL layer)
        if(NOT rank_${target} LESS rank_${layer})
          file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
          string(APPEND failures "${rel}: ${layer} may not include ${target}: ${line}\n")
        endif()
      endif()
      if(line MATCHES "#[ \t]*include[ \t]*<Q[A-Za-z]*[>/]" AND NOT module IN_LIST gui_modules)
        file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
        string(APPEND failures "${rel}: the core may not include Qt: ${line}\n")
      endif()
      check_no_tools_include(${f} "${line}")
    endforeach()
  endforeach()
endforeach()

file(GLOB tools RELATIVE ${SOURCE_DIR}/tools ${SOURCE_DIR}/tools/*)
foreach(tool IN LISTS tools)
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/tools/${tool} OR tool IN_LIST gui_tools)
    continue()
  endif()
  file(GLOB_RECURSE files ${SOURCE_DIR}/tools/${tool}/*.h ${SOURCE_DIR}/tools/${tool}/*.cpp)
  foreach(f IN LISTS files)
    file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      included_layer("${line}" target)
      if(tool IN_LIST qt_image_tools)
        if(target IN_LIST gui_modules)
          file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
          string(APPEND failures "${rel}: an image tool may not include the GUI: ${line}\n")
        endif()
      elseif(target IN_LIST gui_modules OR line MATCHES "#[ \t]*include[ \t]*<Q[A-Za-z]*[>/]")
        file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
        string(APPEND failures "${rel}: a headless tool may not include the GUI or Qt: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  # Printed as they are, one line each; a fatal error's text would be wrapped.
  message(NOTICE "Layer violations:\n${failures}")
  message(FATAL_ERROR "Layer check failed")
endif()
message(STATUS "Layer check passed")
