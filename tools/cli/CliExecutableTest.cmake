# Runs the built skyfirewright-cli and checks output streams and exit codes.
function(expect_run expected_code expected_out expected_err_regex)
  execute_process(COMMAND ${CLI} ${ARGN}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL expected_code)
    message(FATAL_ERROR "${ARGN}: exit ${code}, expected ${expected_code}\n${out}${err}")
  endif()
  if(NOT out STREQUAL expected_out AND NOT expected_out STREQUAL "*")
    message(FATAL_ERROR "${ARGN}: stdout [${out}], expected [${expected_out}]")
  endif()
  if(NOT err MATCHES "${expected_err_regex}")
    message(FATAL_ERROR "${ARGN}: stderr [${err}] does not match [${expected_err_regex}]")
  endif()
endfunction()

expect_run(0 "00:00:01:00 1000.000 0x00000100\n" "^$" timecode --format 25 --frames 25)
expect_run(0 "1798\n" "^$" timecode --format 30df --parse-strict "00:01:00:00")
expect_run(2 "" "unknown format" timecode --format 29 --frames 1)
expect_run(2 "" "bad frame count" timecode --format 25 --frames x1)
expect_run(0 "*" "^$" help timecode)
expect_run(0 "sampleFormat=3 sampleRate=44100 bytesPerFrame=4 frameCount=6\n0 0\n1 -1\n" "^$"
           wave-info ${DATA}/stereo16.wav --frames 0 2)
expect_run(1 "" "not a RIFF file" wave-info ${DATA}/make_testdata.py)
expect_run(2 "" "unknown command" frobnicate)
