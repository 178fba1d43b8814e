# Runs the layer check over a small made-up tree and expects it to report each violation
# planted there, and nothing about the includes that are allowed.
# Run as: cmake -DCHECK=<repo>/cmake/LayerCheck.cmake -DWORK_DIR=<scratch folder> -P this file

file(REMOVE_RECURSE ${WORK_DIR})
function(plant path)
  file(WRITE ${WORK_DIR}/${path} "${ARGN}\n")
endfunction()

# Allowed: the model's own headers, the operations on the model, a report on an operation,
# the gallery on the GUI, a headless tool on the services.
plant(src/Project/Cue.h "#pragma once")
plant(src/Project/Operations/OperationAdd.h "#include \"Project/Cue.h\"")
plant(src/PDF/Report.cpp "#include \"Project/Operations/OperationAdd.h\"")
plant(src/GUI/Window.h "#include <QWidget>")
plant(tools/gallery/main.cpp "#include \"GUI/Window.h\"\n#include <QApplication>")
plant(tools/cli/main.cpp "#include \"Controller/Service.h\"\n#include \"Project/Cue.h\"")
plant(tools/artwork/main.cpp "#include <QImage>\n#include <QPainter>")
# Not allowed.
plant(src/Project/ProjectState.cpp "#include \"Project/Operations/OperationAdd.h\"")
plant(src/Project/Operations/OperationReport.cpp "#include \"PDF/Report.h\"")
plant(src/Controller/Service.h "#include \"tools/cli/CommandLine.h\"")
plant(src/Audio/Player.cpp "#include \"../../tools/devsim/Device.h\"\n#include <QObject>")
plant(tools/cli/Window.cpp "#include \"GUI/Window.h\"")
plant(tools/devsim/main.cpp "#include <QCoreApplication>")
plant(tools/artwork/Window.cpp "#include \"GUI/Window.h\"")

execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK_DIR} -P ${CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "the layer check passed a tree with violations:\n${output}")
endif()

set(expected
    "src/Project/ProjectState.cpp: Project may not include Project/Operations"
    "src/Project/Operations/OperationReport.cpp: Project/Operations may not include PDF"
    "src/Controller/Service.h: may not include the tools"
    "src/Audio/Player.cpp: may not include the tools"
    "src/Audio/Player.cpp: the core may not include Qt"
    "tools/cli/Window.cpp: a headless tool may not include the GUI or Qt"
    "tools/devsim/main.cpp: a headless tool may not include the GUI or Qt"
    "tools/artwork/Window.cpp: an image tool may not include the GUI")
foreach(line IN LISTS expected)
  string(FIND "${output}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing from the report: ${line}\nThe report:\n${output}")
  endif()
endforeach()
foreach(allowed src/PDF/Report.cpp src/Project/Operations/OperationAdd.h src/GUI/Window.h
                tools/gallery/main.cpp tools/cli/main.cpp tools/artwork/main.cpp)
  string(FIND "${output}" "${allowed}:" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "an allowed include was reported: ${allowed}\nThe report:\n${output}")
  endif()
endforeach()
message(STATUS "The layer check reports every planted violation")
