# Cross-compiling for 64-bit Windows with Debian's MinGW-w64, posix thread
# model (GoogleTest needs its std::condition_variable).
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DKESTRUN_WINDOWS_DEPS=DIR ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries built for Windows here (freeglut) are installed under this prefix.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${KESTRUN_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
