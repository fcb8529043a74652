# Shared by the mingw-w64 toolchain files: each sets mingw_triplet and CMAKE_SYSTEM_PROCESSOR,
# then includes this. The win32-threads compiler is preferred: it needs no winpthread DLL.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CMAKE_CXX_COMPILER NAMES ${mingw_triplet}-g++-win32 ${mingw_triplet}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${mingw_triplet}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
