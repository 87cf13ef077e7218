# Cross-compiling the Windows build with Debian's mingw-w64 (packages g++-mingw-w64-x86-64
# and binutils-mingw-w64-x86-64):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORVANEL_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER ${QUORVANEL_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER ${QUORVANEL_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER ${QUORVANEL_MINGW_PREFIX}-windres REQUIRED)

# Headers and libraries come from the target's own tree, programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${QUORVANEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
