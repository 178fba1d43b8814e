# Shared build settings for every project target.

set(SKYFIREWRIGHT_WARNINGS -Wall -Wextra -Werror)

set(SKYFIREWRIGHT_SANITIZER_FLAGS)
if(SKYFIREWRIGHT_SANITIZE)
  set(SKYFIREWRIGHT_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
                                    -fno-sanitize-recover=undefined)
  add_compile_options(${SKYFIREWRIGHT_SANITIZER_FLAGS})
  add_link_options(${SKYFIREWRIGHT_SANITIZER_FLAGS})
endif()

# skyfirewright_module(NAME [DEPENDS lib...] [SYSTEM_LIBS lib...] [TEST_LIBS lib...]
#                      [BENCH_LIBS lib...])
# Builds src/NAME into the static library sky_NAME from every .cpp file of the folder
# except tests (*Test.cpp), benchmarks (*Benchmark.cpp), fuzz targets (*Fuzz.cpp) and a program's
# entry point (main.cpp).
# Tests beside the module become one test executable sky_NAME_tests run by ctest;
# benchmarks become sky_NAME_bench. TEST_LIBS are linked into the test executable only,
# BENCH_LIBS into the benchmark executable only.
function(skyfirewright_module name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SYSTEM_LIBS;TEST_LIBS;BENCH_LIBS" ${ARGN})
  file(GLOB_RECURSE all_sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(lib_sources)
  set(test_sources)
  set(bench_sources)
  set(fuzz_sources)
  foreach(src IN LISTS all_sources)
    if(src MATCHES "Test\\.cpp$")
      list(APPEND test_sources ${src})
    elseif(src MATCHES "Benchmark\\.cpp$")
      list(APPEND bench_sources ${src})
    elseif(src MATCHES "Fuzz\\.cpp$")
      list(APPEND fuzz_sources ${src})
    elseif(src MATCHES "/main\\.cpp$")
      # a program's entry point, built by the folder's own add_executable()
    else()
      list(APPEND lib_sources ${src})
    endif()
  endforeach()

  set(target sky_${name})
  if(lib_sources)
    add_library(${target} STATIC ${lib_sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${target} PRIVATE ${SKYFIREWRIGHT_WARNINGS})
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS} ${ARG_SYSTEM_LIBS})
  else()
    # a folder of headers only
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_DEPENDS} ${ARG_SYSTEM_LIBS})
  endif()

  if(SKYFIREWRIGHT_TESTS AND test_sources)
    add_executable(${target}_tests ${test_sources})
    target_compile_options(${target}_tests PRIVATE ${SKYFIREWRIGHT_WARNINGS})
    target_link_libraries(${target}_tests PRIVATE ${target} sky_TestSupport GTest::gtest GTest::gmock
                                                  ${ARG_TEST_LIBS})
    gtest_discover_tests(${target}_tests
                         WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
                         PROPERTIES LABELS ${name}
                         DISCOVERY_TIMEOUT 60)
  endif()

  # Each XxxFuzz.cpp is one libFuzzer target, fuzz_Xxx, built only in a fuzz build (clang,
  # SKYFIREWRIGHT_FUZZ=ON). Its seed corpus is the folder XxxFuzz.corpus beside it.
  if(SKYFIREWRIGHT_FUZZ)
    foreach(src IN LISTS fuzz_sources)
      get_filename_component(stem ${src} NAME_WE)
      string(REGEX REPLACE "Fuzz$" "" fuzz_name ${stem})
      add_executable(fuzz_${fuzz_name} ${src})
      target_compile_options(fuzz_${fuzz_name} PRIVATE ${SKYFIREWRIGHT_WARNINGS} -fsanitize=fuzzer)
      target_link_options(fuzz_${fuzz_name} PRIVATE -fsanitize=fuzzer)
      target_link_libraries(fuzz_${fuzz_name} PRIVATE ${target})
      set_property(GLOBAL APPEND PROPERTY SKYFIREWRIGHT_FUZZ_TARGETS fuzz_${fuzz_name})
    endforeach()
  endif()

  if(SKYFIREWRIGHT_BENCHMARKS AND bench_sources)
    add_executable(${target}_bench ${bench_sources})
    target_compile_options(${target}_bench PRIVATE ${SKYFIREWRIGHT_WARNINGS})
    target_link_libraries(${target}_bench PRIVATE ${target} benchmark::benchmark_main
                                                  ${ARG_BENCH_LIBS})
  endif()
endfunction()
