# The program folder of the build tree: the build root gets locale/, defaults.ini and (from
# tools/artwork) images/, laid out as in the installed data folder. The programs built here
# look for a "locale" folder from their own folder upward and so find this one; the build
# keeps it up to date when the sources change. Generated files never go into the source tree.
file(GLOB SKYFIREWRIGHT_LOCALE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/locale/*.ini)
set(staged_files)
foreach(source ${PROJECT_SOURCE_DIR}/defaults.ini ${SKYFIREWRIGHT_LOCALE_FILES})
  file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR} ${source})
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${name}
                     COMMAND ${CMAKE_COMMAND} -E copy ${source} ${CMAKE_BINARY_DIR}/${name}
                     DEPENDS ${source}
                     VERBATIM)
  list(APPEND staged_files ${CMAKE_BINARY_DIR}/${name})
endforeach()
add_custom_target(skyfirewright-data ALL DEPENDS ${staged_files})

# The programs that read the program folder find it current. The windowed program also
# needs its pictures and opens the demo show when started without a file.
foreach(program skyfirewright-cli skyfirewright-gallery)
  if(TARGET ${program})
    add_dependencies(${program} skyfirewright-data)
  endif()
endforeach()
