# Runs skyfirewright-gallery --screenshot in a real X window on a virtual display (Qt's xcb
# platform under xvfb-run, through RUNNER) and checks the picture taken from the screen: a
# PNG of the window's size that is not blank. Prints "SKIPPED" and succeeds when xvfb-run is
# not installed. Run as: cmake -DGALLERY=<exe> -DOUTPUT=<png> -DRUNNER=<RunUnderXvfb.sh>
# -P <this file>
include(${CMAKE_CURRENT_LIST_DIR}/GalleryPicture.cmake)
file(REMOVE ${OUTPUT})
execute_process(COMMAND sh ${RUNNER} ${GALLERY} --screenshot ${OUTPUT}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err
                TIMEOUT 120)
if(result EQUAL 77)
  message(STATUS "SKIPPED: xvfb-run is not installed (scripts/setup.sh installs it)")
  return()
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gallery under xvfb-run exited with ${result}:\n${out}${err}")
endif()
# The window's widgets and texts take far more than a blank picture of its size.
check_gallery_picture(${OUTPUT} 40000)

# The size from the PNG header: width and height, four bytes each, big-endian.
file(READ ${OUTPUT} header OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING ${header} 0 8 width_hex)
string(SUBSTRING ${header} 8 8 height_hex)
math(EXPR width "0x${width_hex}")
math(EXPR height "0x${height_hex}")
if(NOT width EQUAL 1000 OR NOT height EQUAL 1400)
  message(FATAL_ERROR "the picture is ${width} x ${height}, not the window's 1000 x 1400")
endif()
file(SIZE ${OUTPUT} size)
message(STATUS "gallery on X: ${width} x ${height}, ${size} bytes")
