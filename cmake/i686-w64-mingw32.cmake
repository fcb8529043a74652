# Cross-compiles for 32-bit Windows with mingw-w64. The win32-threads variant is preferred: it
# needs no winpthread DLL.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(triplet i686-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${triplet}-g++-win32 ${triplet}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${triplet}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
