# Installs the build into a scratch folder (as DESTDIR, prefix /usr) and checks the layout:
# the programs, the data folder (locale, defaults.ini, images, demo show), the desktop
# entry, the file types, the icons and the udev rule. The installed command-line program
# must find its installed language files, the desktop entry must pass desktop-file-validate
# and the file types must compile with update-mime-database.
# Run as: cmake -DBUILD_DIR=<build> -DPROGRAMS=<names> -DDEMO=<demo-show.fwp> -P this file
cmake_minimum_required(VERSION 3.25)

# Outside the build tree: from a folder inside it the programs would find the build tree's
# own locale folder above them and the check would prove nothing about the installation.
string(RANDOM LENGTH 10 suffix)
set(root /tmp/skyfirewright-install-${suffix})
file(REMOVE_RECURSE ${root})

function(fail text)
  file(REMOVE_RECURSE ${root})
  message(FATAL_ERROR "${text}")
endfunction()

execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${root}
                        ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  fail("cmake --install failed:\n${output}")
endif()

set(usr ${root}/usr)
set(data ${usr}/share/skyfirewright)
foreach(program IN LISTS PROGRAMS)
  if(NOT EXISTS ${usr}/bin/${program} OR IS_DIRECTORY ${usr}/bin/${program})
    fail("the program ${program} was not installed to bin/")
  endif()
endforeach()
foreach(file
    ${data}/defaults.ini ${data}/locale/en-us.ini ${data}/locale/nl-nl.ini
    ${data}/examples/demo-show.fwp ${data}/examples/demo-show.wav
    ${data}/images/skyfirewright.svg
    ${usr}/share/applications/skyfirewright.desktop
    ${usr}/share/mime/packages/skyfirewright.xml
    ${usr}/share/icons/hicolor/scalable/apps/skyfirewright.svg
    ${usr}/lib/udev/rules.d/70-skyfirewright-controller.rules)
  if(NOT EXISTS ${file})
    fail("not installed: ${file}")
  endif()
endforeach()

# The pictures are PNG files of the sizes the windows lay them out for.
foreach(picture
    images/mainhead.png:1920x100 images/logoglowred.png:550x100 images/menuhead.png:1024x160
    images/skyfirewright.png:256x256 ../icons/hicolor/256x256/apps/skyfirewright.png:256x256)
  string(REPLACE ":" ";" parts ${picture})
  list(GET parts 0 name)
  list(GET parts 1 size)
  if(NOT EXISTS ${data}/${name})
    fail("not installed: ${data}/${name}")
  endif()
  file(READ ${data}/${name} header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 signature)
  string(SUBSTRING "${header}" 32 8 width)
  string(SUBSTRING "${header}" 40 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT "${width}x${height}" STREQUAL size)
    fail("${name} is not a ${size} PNG (signature ${signature}, ${width}x${height})")
  endif()
endforeach()

file(READ ${usr}/lib/udev/rules.d/70-skyfirewright-controller.rules rule)
if(NOT rule MATCHES "ATTRS{idVendor}==\"4321\", ATTRS{idProduct}==\"62e1\", TAG\\+=\"uaccess\"")
  fail("the udev rule does not give the seat's user the controller 4321:62e1")
endif()

# The installed program finds the installed data folder beside bin/: a Dutch CSV export
# reads locale/nl-nl.ini from it.
set(csv ${root}/demo.csv)
execute_process(COMMAND ${usr}/bin/skyfirewright-cli export-csv ${data}/examples/demo-show.fwp
                        ${csv} --locale nl-nl
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  fail("the installed skyfirewright-cli did not find its data folder:\n${output}")
endif()

find_program(MIME_DATABASE update-mime-database)
if(MIME_DATABASE)
  execute_process(COMMAND ${MIME_DATABASE} ${usr}/share/mime
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  file(READ ${usr}/share/mime/globs2 globs)
  if(NOT result EQUAL 0 OR NOT globs MATCHES "application/x-skyfirewright-project:\\*\\.fwp"
     OR NOT EXISTS ${usr}/share/mime/application/x-skyfirewright-effects.xml)
    fail("the file types do not compile:\n${output}")
  endif()
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(NOT DESKTOP_FILE_VALIDATE)
  file(REMOVE_RECURSE ${root})
  message(STATUS "the installed layout is right")
  message("SKIPPED: desktop-file-validate is not installed (scripts/setup.sh installs it)")
  return()
endif()
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${usr}/share/applications/skyfirewright.desktop
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output STREQUAL "")
  fail("desktop-file-validate refuses the desktop entry:\n${output}")
endif()
file(READ ${usr}/share/applications/skyfirewright.desktop entry)
foreach(type project effects presets)
  if(NOT entry MATCHES "application/x-skyfirewright-${type};")
    fail("the desktop entry does not open application/x-skyfirewright-${type}")
  endif()
endforeach()
if(NOT entry MATCHES "\nExec=skyfirewright %f\n")
  fail("the desktop entry does not hand the program the file as its first argument")
endif()
file(REMOVE_RECURSE ${root})
message(STATUS "the installed layout is right")
