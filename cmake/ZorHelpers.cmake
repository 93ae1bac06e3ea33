# zor_add_library(<subsystem> SOURCES ... DEPS ...)
# One static library per subsystem folder, named zor_<subsystem>; headers are
# included as "<subsystem>/<file>.h" relative to src/.
function(zor_add_library sub)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(zor_${sub} STATIC ${ARG_SOURCES})
  target_include_directories(zor_${sub} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(zor_${sub} PUBLIC ${ARG_DEPS})
endfunction()

# zor_add_test(<name> SOURCES ... DEPS ...)
# A GoogleTest executable registered test by test with ctest. Every test runs
# in a fresh temporary working directory (see tests/support) with SDL's
# dummy video and audio drivers.
function(zor_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT ZOR_TESTS)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE zor_testsupport ${ARG_DEPS} GTest::gtest)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;ZOR_SOURCE_DIR=${CMAKE_SOURCE_DIR};ZOR_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()

# zor_add_fuzzer(<name> SOURCES ... DEPS ... RUNS <n>)
# A libFuzzer target, built only with ZOR_FUZZ; ctest runs it for a fixed
# number of inputs starting from the seed corpus tests/<sub>/corpus/<name>
# when that folder exists.
function(zor_add_fuzzer name)
  cmake_parse_arguments(ARG "" "RUNS" "SOURCES;DEPS" ${ARGN})
  if(NOT ZOR_FUZZ)
    return()
  endif()
  if(NOT ARG_RUNS OR ARG_RUNS STREQUAL "")
    set(ARG_RUNS 20000)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.work)
  file(MAKE_DIRECTORY ${work})
  if(EXISTS ${corpus})
    # New inputs go to the first folder: keep them in the build, not among the seeds.
    file(MAKE_DIRECTORY ${work}/corpus)
    add_test(NAME ${name} COMMAND ${name} -runs=${ARG_RUNS} -seed=1 -max_len=4096 ${work}/corpus ${corpus}
             WORKING_DIRECTORY ${work})
  else()
    add_test(NAME ${name} COMMAND ${name} -runs=${ARG_RUNS} -seed=1 -max_len=4096 WORKING_DIRECTORY ${work})
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
endfunction()

# zor_subsystem_tests(<subsystem> DEPS ...)
# Every tests/<subsystem>/test_*.cpp goes into one test executable
# <subsystem>_tests; every fuzz_*.cpp becomes its own libFuzzer target.
function(zor_subsystem_tests sub)
  cmake_parse_arguments(ARG "" "RUNS" "DEPS" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  if(test_sources)
    zor_add_test(${sub}_tests SOURCES ${test_sources} DEPS ${ARG_DEPS})
  endif()
  file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_*.cpp)
  foreach(src IN LISTS fuzz_sources)
    get_filename_component(name ${src} NAME_WE)
    zor_add_fuzzer(${name} SOURCES ${src} DEPS ${ARG_DEPS} RUNS ${ARG_RUNS})
  endforeach()
endfunction()
