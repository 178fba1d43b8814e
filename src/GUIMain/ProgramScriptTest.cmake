# The program end to end: skyfirewright started with a file of each kind on the command line
# and driven by --script, on Qt's offscreen platform (or, with RUNNER, in a real X window on
# a virtual display). Checks the state lines, the exit status and the failure reports.
# Run as: cmake -DPROGRAM=<skyfirewright> -DCLI=<skyfirewright-cli> -DWORK=<folder>
#               [-DRUNNER=<RunUnderXvfb.sh>] -P <this file>
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/config)
set(environment XDG_CONFIG_HOME=${WORK}/config)
if(NOT RUNNER)
  list(APPEND environment QT_QPA_PLATFORM=offscreen)
endif()

# run(<expected exit> <script text> [arguments...]): runs the program; sets `out` and `err`.
function(run expected script)
  file(WRITE ${WORK}/script.txt "${script}")
  set(command ${PROGRAM} ${ARGN} --audio silent --script ${WORK}/script.txt)
  if(RUNNER)
    set(command sh ${RUNNER} ${command})
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} ${command}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors
                  TIMEOUT 120)
  if(result EQUAL 77)
    message(STATUS "SKIPPED: ${output}")
    set(skipped TRUE PARENT_SCOPE)
    return()
  endif()
  if(NOT result EQUAL expected)
    message(FATAL_ERROR "exit ${result}, expected ${expected}, for:\n${script}\n${output}${errors}")
  endif()
  set(out "${output}" PARENT_SCOPE)
  set(err "${errors}" PARENT_SCOPE)
endfunction()

function(expect text pattern)
  if(NOT "${text}" MATCHES "${pattern}")
    message(FATAL_ERROR "expected to find ${pattern} in:\n${text}")
  endif()
endfunction()

execute_process(COMMAND ${CLI} new --format 25 ${WORK}/night.fwp RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "skyfirewright-cli new failed")
endif()

# A project on the command line opens at start; the window shows it.
run(0 "state\nscreenshot ${WORK}/night.png\n" ${WORK}/night.fwp)
if(skipped)
  return()
endif()
expect("${out}" "\"projectOpen\":true")
expect("${out}" "\"title\":\"Skyfirewright - night.fwp\"")
expect("${out}" "\"menuVisible\":false")
if(NOT EXISTS ${WORK}/night.png)
  message(FATAL_ERROR "no screenshot was written")
endif()

# An effect library written by command 101, then given on the command line: it loads as a
# library (no project opens). A name that only contains ".fwe" counts too.
run(0 "file ${WORK}/lib.fwe\ncommand 101\n")
file(COPY_FILE ${WORK}/lib.fwe ${WORK}/lib.fwe.old)
run(0 "state\n" ${WORK}/lib.fwe.old)
expect("${out}" "\"projectOpen\":false")
expect("${out}" "\"messages\":\\[\\]")

# The same for a preset library.
run(0 "file ${WORK}/rig.fwf\ncommand 109\n")
run(0 "state\n" ${WORK}/rig.fwf)
expect("${out}" "\"projectOpen\":false")
expect("${out}" "\"messages\":\\[\\]")

# A project that cannot be read: the error box has no queued answer, so the script stops.
file(WRITE ${WORK}/broken.fwp "not a project")
run(1 "state\n" ${WORK}/broken.fwp)
expect("${err}" "no queued answer: \"Error\"")

# A failing line stops the script with its number; the lines after it do not run.
run(1 "state\nclick Nowhere\nstate\n" ${WORK}/night.fwp)
expect("${err}" "script line 2: unknown path: Nowhere")
string(REGEX MATCHALL "\"title\"" titles "${out}")
list(LENGTH titles count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one state line before the failure, got ${count}")
endif()

# Keys reach the key maps: Ctrl+Q quits (the show is unchanged, so nothing is asked).
run(0 "key Ctrl+Q\n" ${WORK}/night.fwp)
