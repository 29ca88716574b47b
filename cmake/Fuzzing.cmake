# libFuzzer targets for every parser of bytes from outside (registry values and files, driver answers,
# resource scripts, runner scripts). They need clang and the option WLAN_FUZZ; scripts/fuzz.sh builds and runs
# them for a bounded time. In such a build all our code is instrumented for coverage.
option(WLAN_FUZZ "Build the libFuzzer targets (clang only)" OFF)

set(WLAN_FUZZING OFF)
if(WLAN_FUZZ AND WLAN_HOST)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "WLAN_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  set(WLAN_FUZZING ON)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# wlan_add_fuzzer(name SOURCES ... LIBS ...): a libFuzzer program; nothing outside a fuzzing build.
function(wlan_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT WLAN_FUZZING)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  wlan_warnings(${name})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
endfunction()
