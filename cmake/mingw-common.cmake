# Shared part of the two toolchain files: compilers, resource compiler and
# where to look for the target's headers and libraries.
set(CMAKE_C_COMPILER ${QUILLON_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLON_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLON_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUILLON_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
