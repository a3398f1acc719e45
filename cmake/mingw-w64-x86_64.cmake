# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads compilers, for
# std::thread and std::mutex). The libraries built for the target live in QH_WINDOWS_DEPS
# (scripts/test-windows makes them); nothing of the build machine's own libraries is used.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple} $ENV{QH_WINDOWS_DEPS} ${QH_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs that need no DLLs beside them: the C and C++ runtimes and winpthread linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests and build-time tools run under Wine.
find_program(QH_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(QH_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QH_WINE})
endif()
