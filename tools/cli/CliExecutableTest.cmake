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
  # For further checks by the caller.
  set(out "${out}" PARENT_SCOPE)
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
# The show compiler on a project file written by the program's own writer.
set(compile_show ${CMAKE_CURRENT_LIST_DIR}/../../src/Controller/testdata/show.fwp)
expect_run(0 "group=0 index=0 word=0x10020000 cue=-\ngroup=0 index=1 word=0x80000101 cue=1\ngroup=0 index=2 word=0x80000102 cue=2\n"
           "^$" compile ${compile_show} --mode clock-out)
expect_run(0 "group=1 index=0 word=0x30000000 cue=-\ngroup=1 index=1 word=0x300000C8 cue=-\ngroup=1 index=2 word=0x80000101 cue=1\ngroup=1 index=3 word=0x30000000 cue=-\ngroup=1 index=4 word=0x30000190 cue=-\ngroup=1 index=5 word=0x80000102 cue=2\n"
           "^$" compile ${compile_show} --mode manual)
expect_run(2 "" "unknown mode" compile ${compile_show} --mode timecode)

# The project files end to end: new, edit, info, the two exports and the library files, on
# real files in a scratch folder of the build tree.
set(work ${CMAKE_CURRENT_BINARY_DIR}/cli-project-files)
set(libraries ${CMAKE_CURRENT_LIST_DIR}/../../src/Project/Operations)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
expect_run(0 "" "^$" new --format 25 ${work}/show.fwp)
file(WRITE ${work}/ops.txt
     "add-pyro 00:00:01:00\n"
     "set-value 2 0x105\n"
     "apply-effect ${libraries}/EffectFileFuzz.corpus/library.fwe 0\n"
     "add-dmx 00:00:02:00 00:00:03:00\n"
     "patch ${libraries}/PresetFileFuzz.corpus/presets.fwf 1 20 1 7 2\n"
     "undo\n"
     "redo\n"
     "add-reminder 00:00:04:00\n"
     "set-reminder Look up\n"
     "check\n")
string(CONCAT edit_out
       "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n"
       "ok undo=UNDO.MOD_PYRO_ADDRESS redo=REDO.NOTHING modified=1\n"
       "ok undo=UNDO.APPLY_EFFECT redo=REDO.NOTHING modified=1\n"
       "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n"
       "ok undo=UNDO.PATCH_FIXTURES redo=REDO.NOTHING modified=1\n"
       "ok undo=UNDO.ADD_CUE redo=REDO.PATCH_FIXTURES modified=1\n"
       "ok undo=UNDO.PATCH_FIXTURES redo=REDO.NOTHING modified=1\n"
       "ok undo=UNDO.ADD_REMINDER redo=REDO.NOTHING modified=1\n"
       "ok undo=UNDO.MOD_REMINDER redo=REDO.NOTHING modified=1\n"
       "failed CHECK.NO_CHANNEL undo=UNDO.MOD_REMINDER redo=REDO.NOTHING modified=1\n")
expect_run(0 "${edit_out}" "^$" edit ${work}/show.fwp --ops ${work}/ops.txt --out ${work}/edited.fwp)
expect_run(0 "*" "^$" info ${work}/edited.fwp)
foreach(expected
        "\"format\":1"
        "\"address\":261"
        "\\[\"~DESC\",\"Red\"\\]"
        "\"steps\":\\[\\[\\[20,128,false,false\\]\\]\\]"
        "\"type\":\"reminder\",.*\"reminder\":\"Look up\"")
  if(NOT out MATCHES "${expected}")
    message(FATAL_ERROR "info: [${out}] lacks [${expected}]")
  endif()
endforeach()
expect_run(0 "" "^$" export-csv ${work}/edited.fwp ${work}/show.csv
           --locale ${CMAKE_CURRENT_LIST_DIR}/../../locale/en-us.ini)
file(READ ${work}/show.csv csv)
if(NOT csv MATCHES "^Cue,.*\n1,00:00:01:00,PYRO,.*\n2,00:00:02:00,DMX,")
  message(FATAL_ERROR "export-csv wrote [${csv}]")
endif()
expect_run(0 "" "^$" export-fws ${work}/edited.fwp ${work}/a.fws --seed 5 --time 1700000000)
expect_run(0 "" "^$" export-fws ${work}/edited.fwp ${work}/b.fws --seed 5 --time 1700000000)
file(SHA256 ${work}/a.fws first)
file(SHA256 ${work}/b.fws second)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "export-fws: the same seed and time gave different files")
endif()
expect_run(0 "*" "^$" library-info ${libraries}/EffectFileFuzz.corpus/library.fwe)
if(NOT out MATCHES "^{\"effects\":\\[{\"description\":\"Red\"")
  message(FATAL_ERROR "library-info: [${out}]")
endif()
expect_run(0 "*" "^$" library-info ${libraries}/PresetFileFuzz.corpus/presets.fwf)
if(NOT out MATCHES "^{\"fixtures\":\\[{\"description\":\"Jet\"")
  message(FATAL_ERROR "library-info: [${out}]")
endif()
expect_run(1 "" "ERROR.INVALID_FWP\n" info ${DATA}/mono8.wav)
file(WRITE ${work}/bad.txt "add-pyro 1:00\nfly away\n")
# The steps before the bad line have run; nothing is saved.
expect_run(2 "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n" "bad.txt:2: unknown step 'fly'" edit ${work}/show.fwp --ops ${work}/bad.txt
           --out ${work}/x.fwp)
if(EXISTS ${work}/x.fwp)
  message(FATAL_ERROR "edit saved a project after a bad script line")
endif()
