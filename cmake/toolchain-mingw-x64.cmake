# Cross build for Windows with mingw-w64 and the -win32 thread model: its runtime imports only functions
# that every 32-bit Windows from 95 and NT 4 on exports (the -posix compilers pull in winpthreads, which does
# not). It has no std::thread or std::mutex: our code uses the wlan_threads primitives instead. The runtime is
# linked statically so the program needs no DLL beyond Windows' own and W32N50.dll.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(WLAN_OBJDUMP x86_64-w64-mingw32-objdump)
