# Runs skyfirewright-gallery --screenshot on Qt's offscreen platform and checks that the
# file it wrote is a PNG. Run as: cmake -DGALLERY=<exe> -DOUTPUT=<png> -P <this file>
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                        ${GALLERY} --screenshot ${OUTPUT}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gallery exited with ${result}:\n${out}${err}")
endif()
if(NOT EXISTS ${OUTPUT})
  message(FATAL_ERROR "gallery wrote no ${OUTPUT}")
endif()
file(READ ${OUTPUT} signature LIMIT 8 HEX)
if(NOT signature STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "${OUTPUT} is not a PNG (starts with ${signature})")
endif()
file(SIZE ${OUTPUT} size)
if(size LESS 10000)
  message(FATAL_ERROR "${OUTPUT} is suspiciously small: ${size} bytes")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${GALLERY} --bogus
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 2)
  message(FATAL_ERROR "an unknown option gave ${result}, not 2")
endif()
