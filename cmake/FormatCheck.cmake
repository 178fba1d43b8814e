# Fails when a source file differs from what clang-format makes of it (.clang-format).
# Run as: cmake -DSOURCE_DIR=<repo> -DCLANG_FORMAT=<clang-format> -P cmake/FormatCheck.cmake
file(GLOB_RECURSE files ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/tools/*.h
     ${SOURCE_DIR}/tools/*.cpp ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Files need clang-format -i:\n${errors}")
endif()
