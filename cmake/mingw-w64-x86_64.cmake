# Cross-compiling for 64-bit Windows with MinGW-w64 (posix threads) from Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(toolchain_prefix x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${toolchain_prefix}-gcc-posix ${toolchain_prefix}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${toolchain_prefix}-g++-posix ${toolchain_prefix}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${toolchain_prefix}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${toolchain_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(WINE_PROGRAM NAMES wine64 wine)
if(WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
endif()
