# GoogleTest for both builds. On Linux it is Debian's libgtest-dev; for Windows it is compiled from the
# sources of Debian's googletest package with the mingw compiler, and the tests run under 64-bit Wine.

if(WLAN_HOST)
  find_package(GTest REQUIRED)
  include(GoogleTest)
else()
  set(WLAN_GTEST_SRC /usr/src/googletest/googletest)
  if(NOT EXISTS ${WLAN_GTEST_SRC}/src/gtest-all.cc)
    message(FATAL_ERROR "GoogleTest sources not found in ${WLAN_GTEST_SRC} (Debian package googletest)")
  endif()
  add_library(wlan_gtest STATIC ${WLAN_GTEST_SRC}/src/gtest-all.cc)
  target_include_directories(wlan_gtest SYSTEM PUBLIC ${WLAN_GTEST_SRC}/include PRIVATE ${WLAN_GTEST_SRC})
  # The win32 thread model has no std::mutex: GoogleTest's Notification comes from us (its mutexes and
  # thread-local values are its own Win32 ones).
  target_compile_definitions(wlan_gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
  target_compile_options(wlan_gtest PUBLIC -include ${CMAKE_SOURCE_DIR}/cmake/GTestNotificationWin32.h)
  add_library(wlan_gtest_main STATIC ${WLAN_GTEST_SRC}/src/gtest_main.cc)
  target_link_libraries(wlan_gtest_main PUBLIC wlan_gtest)
  add_library(GTest::gtest ALIAS wlan_gtest)
  add_library(GTest::gtest_main ALIAS wlan_gtest_main)

  # Only 64-bit Wine can be installed on our machines: the 32-bit test programs are built, not run.
  if(WLAN_WIN64)
    set(WLAN_RUN_WINDOWS_TESTS ON)
    set(WLAN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(WLAN_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
  else()
    set(WLAN_RUN_WINDOWS_TESTS OFF)
  endif()
endif()

# wlan_add_test(NAME name SOURCES ... LIBS ... [IMPORTS dll...] [LABELS label...])
# IMPORTS names DLLs of ours that the Windows test program may import besides Windows' own.
# LABELS go on every host test case: "threads" marks the programs the test command also runs under the
# thread sanitizer.
# Host: every test case becomes its own CTest test. Windows: one CTest test per program, run under Wine.
function(wlan_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;IMPORTS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  wlan_warnings(${T_NAME})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(WLAN_HOST)
    target_link_libraries(${T_NAME} PRIVATE Threads::Threads)
    if(T_LABELS)
      gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 30 PROPERTIES LABELS "${T_LABELS}")
    else()
      gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 30)
    endif()
  else()
    wlan_check_imports(${T_NAME} EXTRA ${T_IMPORTS})
    if(WLAN_RUN_WINDOWS_TESTS)
      add_test(NAME ${T_NAME} COMMAND ${WLAN_WINE_RUN} ${WLAN_WINEPREFIX} $<TARGET_FILE:${T_NAME}>)
      set_tests_properties(${T_NAME} PROPERTIES LABELS wine RESOURCE_LOCK wineprefix)
    endif()
  endif()
endfunction()
