# Builds the demo show into OUT_DIR: the soundtrack and the edit steps from the script, then
# the project through the command-line program, as a user would build it. A step that the
# program refuses fails the build, so the demo never ships with a cue missing.
# Run as: cmake -DPYTHON=... -DSCRIPT=make_demo_show.py -DCLI=skyfirewright-cli
#               -DOUT_DIR=<folder> -P BuildDemoShow.cmake
cmake_minimum_required(VERSION 3.25)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${output}${errors}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

run("the soundtrack and the steps" ${PYTHON} ${SCRIPT} ${OUT_DIR})
set(empty ${OUT_DIR}/demo-show-empty.fwp)
run("the new project" ${CLI} new --format 25 ${empty})
run("the cues" ${CLI} edit ${empty} --ops ${OUT_DIR}/demo-show.ops --out ${OUT_DIR}/demo-show.fwp)
file(REMOVE ${empty})
string(REGEX MATCH "(^|\n)failed[^\n]*" failed "${output}")
if(failed)
  message(FATAL_ERROR "a step of the demo show failed:${failed}")
endif()
