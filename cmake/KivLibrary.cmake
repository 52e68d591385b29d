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

# kiv_add_tests(<folder> DEPS <libs...> [GL <files...>])
# The <folder>/*_test.cpp files under tests/ become one test program,
# <folder>_tests; the files named after GL open a real GL context and form a
# second program, <folder>_gl_tests, with leak checking off (tests/no_leak_check.cpp).
# Every test case is still its own CTest test named <folder>.<Suite>.<Test>, so a
# crash fails only the cases it hits. The tests are listed right after the link:
# a program that cannot list them (a throwing static initialiser, say) fails the
# build with its output, and the sanitizers' stack names the file.
function(kiv_add_tests folder)
  cmake_parse_arguments(ARG "" "" "DEPS;GL" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  set(gl_tests "")
  foreach(name ${ARG_GL})
    set(file ${CMAKE_CURRENT_SOURCE_DIR}/${name})
    if(NOT file IN_LIST tests)
      message(FATAL_ERROR "kiv_add_tests(${folder}): ${name} is not a test file of this folder")
    endif()
    list(REMOVE_ITEM tests ${file})
    list(APPEND gl_tests ${file})
  endforeach()
  if(tests)
    kiv_add_test_program(${folder}_tests ${folder} "${ARG_DEPS}" ${tests})
  endif()
  if(gl_tests)
    kiv_add_test_program(${folder}_gl_tests ${folder} "${ARG_DEPS}" ${gl_tests}
                         ${CMAKE_SOURCE_DIR}/tests/no_leak_check.cpp)
  endif()
endfunction()

function(kiv_add_test_program exe folder deps)
  add_executable(${exe} ${ARGN} ${CMAKE_SOURCE_DIR}/tests/headless_env.cpp)
  target_link_libraries(${exe} PRIVATE kiv_test_support ${deps} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${exe} PRIVATE KIV_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
  # tests/headless_env.cpp sets SDL_VIDEODRIVER=offscreen and SDL_AUDIODRIVER=dummy.
  gtest_discover_tests(${exe} DISCOVERY_MODE POST_BUILD DISCOVERY_TIMEOUT 300 TEST_PREFIX "${folder}.")
endfunction()

# kiv_add_bench(<name> <source> DEPS <libs...>): one Google Benchmark program.
# A sanitizer build only compiles the benchmarks, so that they keep building with
# the code they measure; their figures come from a Release build.
function(kiv_add_bench name source)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  find_package(benchmark REQUIRED)
  if(KIV_SANITIZE)
    add_library(${name} OBJECT ${source})
  else()
    add_executable(${name} ${source})
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
