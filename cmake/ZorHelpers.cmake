# Link-time optimisation in optimised GCC builds (ZOR_LTO): the game, the
# data generator and the benchmarks are optimised whole at the link (5 to 15 %
# less time a turn and frame of the busy towns), and the link checks the one
# definition rule across the program. Each library is compiled once, into
# objects that hold the optimiser's intermediate code beside the machine
# code (-ffat-lto-objects): those programs read the intermediate code and
# are optimised whole, in parallel (-flto=auto); every other program, the
# tests and tools, links with -fno-lto and takes the machine code as it is,
# without optimising each program whole again. The sanitizer and fuzzing
# builds do without.
set(ZOR_LTO_ACTIVE OFF)
if(ZOR_LTO AND NOT ZOR_SANITIZE AND NOT ZOR_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU"
   AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  include(CheckIPOSupported)
  check_ipo_supported(RESULT ipo_supported OUTPUT ipo_output LANGUAGES CXX)
  if(ipo_supported)
    set(ZOR_LTO_ACTIVE ON)
  else()
    message(STATUS "Link-time optimisation is not available: ${ipo_output}")
  endif()
endif()
if(ZOR_LTO_ACTIVE AND NOT CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  set(ZOR_LTO_ACTIVE OFF)
  message(STATUS "Link-time optimisation is set up for x86-64 builds only")
endif()
if(ZOR_LTO_ACTIVE)
  # The archives' indexes list the symbols of the machine code alone: the
  # intermediate code also names inline functions that the machine code
  # has inlined everywhere, and an index entry for one of those would make
  # a plain link take a member a second time for it. The plain archiver
  # reads an object as machine code when it is given the format.
  foreach(step CREATE APPEND)
    string(REPLACE "<CMAKE_AR> q" "<CMAKE_AR> --target=elf64-x86-64 q" CMAKE_CXX_ARCHIVE_${step}
                   "${CMAKE_CXX_ARCHIVE_${step}}")
  endforeach()
  set(CMAKE_CXX_ARCHIVE_FINISH "<CMAKE_AR> --target=elf64-x86-64 s <TARGET>")
  # A link that is not to optimise the program whole would otherwise still
  # run the optimiser over every object that carries intermediate code.
  add_link_options("$<$<NOT:$<BOOL:$<TARGET_PROPERTY:INTERPROCEDURAL_OPTIMIZATION>>>:-fno-lto>")
endif()

# zor_lto_objects(<library>): the library's objects carry the intermediate
# code for the programs optimised at the link, beside their machine code.
function(zor_lto_objects lib)
  if(ZOR_LTO_ACTIVE)
    target_compile_options(${lib} PRIVATE -flto=auto -ffat-lto-objects)
  endif()
endfunction()

# zor_link_optimised(<target>): the executable is optimised whole at the
# link when the build has link-time optimisation.
function(zor_link_optimised target)
  if(ZOR_LTO_ACTIVE)
    set_property(TARGET ${target} PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
  endif()
endfunction()

# zor_add_library(<subsystem> SOURCES ... DEPS ...)
# One static library per subsystem folder, named zor_<subsystem>; headers are
# included as "<subsystem>/<file>.h" relative to src/.
function(zor_add_library sub)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(zor_${sub} STATIC ${ARG_SOURCES})
  target_include_directories(zor_${sub} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(zor_${sub} PUBLIC ${ARG_DEPS})
  zor_lto_objects(zor_${sub})
endfunction()

# zor_add_test(<name> SOURCES ... DEPS ... [COST <seconds>])
# A GoogleTest executable registered test by test with ctest. Every test runs
# in a fresh temporary working directory (see tests/support) with SDL's
# dummy video and audio drivers. COST is what ctest expects a test to take
# while the build tree holds no times of an earlier run: it starts the
# costliest first, so that on a fresh checkout the long tests do not run
# alone at the end.
function(zor_add_test name)
  cmake_parse_arguments(ARG "" "COST" "SOURCES;DEPS" ${ARGN})
  if(NOT ZOR_TESTS)
    return()
  endif()
  if(NOT ARG_COST)
    set(ARG_COST 0)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE zor_testsupport ${ARG_DEPS} GTest::gtest)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy" COST ${ARG_COST})
endfunction()

# The mean seconds of a test of the subsystems whose tests play the game or
# storm the networks, in the sanitizer build; the others take well under one.
set(ZOR_TEST_COST_world 3)
set(ZOR_TEST_COST_network 2)

# In the fuzzing build every undefined-behaviour finding stops the fuzzer
# like a memory error does, so it is reported with its input.
if(ZOR_FUZZ)
  add_compile_options(-fno-sanitize-recover=undefined)
  add_link_options(-fno-sanitize-recover=undefined)
endif()

# Seconds ctest gives each fuzz target; the targets run in parallel.
set(ZOR_FUZZ_SECONDS 30 CACHE STRING "Seconds each fuzz target runs under ctest")

# zor_add_fuzzer(<name> SOURCES ... DEPS ... SECONDS <s>)
# A libFuzzer target, built only with ZOR_FUZZ; ctest runs it for a fixed
# time (ZOR_FUZZ_SECONDS_<name>, else SECONDS, else ZOR_FUZZ_SECONDS)
# starting from what earlier runs kept
# in the build tree and the seed corpus tests/<sub>/corpus/<name> when that
# folder exists.
function(zor_add_fuzzer name)
  cmake_parse_arguments(ARG "" "SECONDS" "SOURCES;DEPS" ${ARGN})
  if(NOT ZOR_FUZZ)
    return()
  endif()
  if(DEFINED ZOR_FUZZ_SECONDS_${name})
    set(ARG_SECONDS ${ZOR_FUZZ_SECONDS_${name}})
  elseif(NOT ARG_SECONDS OR ARG_SECONDS STREQUAL "")
    set(ARG_SECONDS ${ZOR_FUZZ_SECONDS})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.work)
  file(MAKE_DIRECTORY ${work})
  # New inputs go to the first corpus folder, so the build's own folder comes
  # first and the checked-in seeds are only read.
  file(MAKE_DIRECTORY ${work}/corpus)
  set(dirs ${work}/corpus)
  if(EXISTS ${corpus})
    list(APPEND dirs ${corpus})
  endif()
  # Inputs up to 4096 bytes, or ZOR_FUZZ_MAX_LEN_<name> for larger records.
  set(max_len 4096)
  if(DEFINED ZOR_FUZZ_MAX_LEN_${name})
    set(max_len ${ZOR_FUZZ_MAX_LEN_${name}})
  endif()
  # More libFuzzer flags from ZOR_FUZZ_FLAGS_<name>.
  set(flags "")
  if(DEFINED ZOR_FUZZ_FLAGS_${name})
    set(flags ${ZOR_FUZZ_FLAGS_${name}})
  endif()
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${ARG_SECONDS} -print_final_stats=1 -max_len=${max_len} ${flags} ${dirs}
           WORKING_DIRECTORY ${work})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
    TIMEOUT 300)
endfunction()

# zor_subsystem_tests(<subsystem> DEPS ...)
# Every tests/<subsystem>/test_*.cpp goes into one test executable
# <subsystem>_tests; every fuzz_*.cpp becomes its own libFuzzer target.
# A RUNS count from older callers is accepted and not used: fuzz targets
# run for a time.
function(zor_subsystem_tests sub)
  cmake_parse_arguments(ARG "" "SECONDS;RUNS" "DEPS" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  if(test_sources)
    zor_add_test(${sub}_tests SOURCES ${test_sources} DEPS ${ARG_DEPS} COST "${ZOR_TEST_COST_${sub}}")
  endif()
  file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_*.cpp)
  foreach(src IN LISTS fuzz_sources)
    get_filename_component(name ${src} NAME_WE)
    zor_add_fuzzer(${name} SOURCES ${src} DEPS ${ARG_DEPS} SECONDS ${ARG_SECONDS})
  endforeach()
endfunction()

# zor_add_bench(<name> SOURCES ... DEPS ... [GAMEDATA] [DEFINES ...] [CHECK ...])
# A Google Benchmark program. Every benchmark program checks its own results
# and exits non-zero when one is wrong; ctest runs it as the test
# <name>_check with the least time a benchmark may take and the arguments
# CHECK gives (a filter of its smallest configurations), so that a result
# that no longer holds fails the test run, not a later measurement.
# GAMEDATA: it reads the generated game data from the build tree (it is
# left out when the build makes none).
function(zor_add_bench name)
  cmake_parse_arguments(ARG "GAMEDATA" "" "SOURCES;DEPS;DEFINES;CHECK" ${ARGN})
  if(ARG_GAMEDATA AND NOT TARGET gamedata)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
  target_compile_definitions(${name} PRIVATE ${ARG_DEFINES})
  if(ARG_GAMEDATA)
    target_compile_definitions(${name} PRIVATE ZOR_GAMEDATA_DIR="${CMAKE_BINARY_DIR}/gamedata")
    add_dependencies(${name} gamedata)
  endif()
  zor_link_optimised(${name})
  if(ZOR_TESTS)
    add_test(NAME ${name}_check COMMAND ${name} --benchmark_min_time=0.000001 ${ARG_CHECK}
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${name}_check PROPERTIES
      ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy" LABELS bench TIMEOUT 300)
  endif()
endfunction()
