# Build settings shared by every target of our own.

# Warnings are errors in our own code; third-party code (GoogleTest) does not use this.
function(wlan_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-unused-parameter)
endfunction()

if(WLAN_HOST AND WLAN_SANITIZE)
  add_compile_options(-fsanitize=${WLAN_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${WLAN_SANITIZE})
endif()

if(WLAN_HOST)
  find_package(Threads REQUIRED)
endif()

# Host programs are linked at a fixed address (CMAKE_POSITION_INDEPENDENT_CODE is off): a position-
# independent program with the address sanitizer spends half its start-up relocating itself, and the
# scenario runner starts thousands of times in a test run. The thread sanitizer keeps the compiler's default.
if(WLAN_HOST AND NOT WLAN_SANITIZE MATCHES "thread")
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
endif()

if(WIN32)
  # Windows 95 and NT 4 with their first common controls are the oldest systems the release supports: a newer
  # API fails at compile time.
  add_compile_definitions(_WIN32_WINNT=0x0400 WINVER=0x0400 _WIN32_IE=0x0400 NOMINMAX WIN32_LEAN_AND_MEAN)
  # No DLL beyond Windows' own (and W32N50.dll for the program): the C++ runtime goes in statically.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# wlan_check_imports(target [EXTRA dll...]): a test that the Windows program imports only Windows' own DLLs.
function(wlan_check_imports target)
  cmake_parse_arguments(C "" "" "EXTRA" ${ARGN})
  if(WIN32 AND WLAN_TESTS)
    add_test(NAME ${target}_imports
             COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${WLAN_OBJDUMP} -DFILE=$<TARGET_FILE:${target}>
                     "-DEXTRA=${C_EXTRA}" -P ${CMAKE_SOURCE_DIR}/cmake/CheckImports.cmake)
    set_tests_properties(${target}_imports PROPERTIES LABELS imports)
  endif()
endfunction()
