# Cross-building for 64-bit Windows with Debian's mingw-w64 compilers. The programs built run here
# under Wine, which CTest and the test discovery put in front of them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZEB_MINGW_TRIPLET x86_64-w64-mingw32)
# The posix thread model: the C++ library's threads and mutexes, which googletest uses.
set(CMAKE_C_COMPILER ${ZEB_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEB_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEB_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZEB_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
