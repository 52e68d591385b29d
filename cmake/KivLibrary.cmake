# kiv_library(<target> [DEPS <libs...>])
# Makes a static library of every .cpp file in the calling folder (recursively).
# Headers are included as "<folder>/<file>.h" from src/.
function(kiv_library target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${target} STATIC ${srcs})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
endfunction()

# kiv_add_tests(<folder> DEPS <libs...>)
# Every <folder>/*_test.cpp under tests/ becomes its own test program, so that a
# broken or crashing test file never hides the others.
function(kiv_add_tests folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(file ${tests})
    get_filename_component(name ${file} NAME_WE)
    set(exe ${folder}_${name})
    add_executable(${exe} ${file} ${CMAKE_SOURCE_DIR}/tests/headless_env.cpp)
    target_link_libraries(${exe} PRIVATE kiv_test_support ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${exe} PRIVATE KIV_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
    # tests/headless_env.cpp sets SDL_VIDEODRIVER=offscreen and SDL_AUDIODRIVER=dummy.
    gtest_discover_tests(${exe} DISCOVERY_MODE PRE_TEST TEST_PREFIX "${folder}.")
  endforeach()
endfunction()

# kiv_add_bench(<name> <source> DEPS <libs...>): one Google Benchmark program.
function(kiv_add_bench name source)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
