# Cross-build for 32-bit Windows with Debian's mingw-w64 toolchain:
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
# The posix thread model gives the standard library its threads and mutexes.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CORVAN_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${CORVAN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CORVAN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${CORVAN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CORVAN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs and libraries carry their compiler's run time inside, so they
# run on a Windows system that has none of the toolchain's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive")

# Tests run where an emulator is present.
find_program(CORVAN_WINE NAMES wine wine32 wine64)
if(CORVAN_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CORVAN_WINE})
endif()
