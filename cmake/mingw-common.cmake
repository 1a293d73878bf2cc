# Shared part of the MinGW-w64 toolchain files. Debian's "-win32" flavour uses the
# win32 thread model, so with libgcc and libstdc++ linked statically the binaries
# need no runtime DLL besides the system's own.
set(CMAKE_C_COMPILER ${TESSARON_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TESSARON_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${TESSARON_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TESSARON_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
