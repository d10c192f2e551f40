# Cross-compiling for Windows with Debian's MinGW-w64 toolchain for the
# target triple set by the including toolchain file. The posix thread model
# lets GoogleTest and the standard library use threads; the runtime is
# linked statically (see the top CMakeLists.txt).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KELTRIM_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELTRIM_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KELTRIM_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KELTRIM_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
