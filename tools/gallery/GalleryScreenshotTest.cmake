# Runs skyfirewright-gallery --screenshot on Qt's offscreen platform and checks that the
# file it wrote is a PNG. Run as: cmake -DGALLERY=<exe> -DOUTPUT=<png> -P <this file>
include(${CMAKE_CURRENT_LIST_DIR}/GalleryPicture.cmake)
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                        ${GALLERY} --screenshot ${OUTPUT}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gallery exited with ${result}:\n${out}${err}")
endif()
check_gallery_picture(${OUTPUT} 10000)

execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${GALLERY} --bogus
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 2)
  message(FATAL_ERROR "an unknown option gave ${result}, not 2")
endif()
