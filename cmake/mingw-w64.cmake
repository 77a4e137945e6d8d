# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model,
# which GoogleTest needs). The programs are linked statically, so they run
# under Wine without hunting for the compiler's DLLs.
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(OSTRAVION_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${OSTRAVION_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OSTRAVION_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${OSTRAVION_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OSTRAVION_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC 12's -Wrestrict reports impossible overlaps when a short literal is
# assigned to a std::string at -O2 (a false alarm of that release inside
# libstdc++'s own headers, which warnings-as-errors would otherwise stop on);
# the native gcc and clang builds keep the warning.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

# libgcc, libstdc++ and winpthread go into every program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Tests run the .exe files through Wine.
find_program(OSTRAVION_WINE wine)
if(OSTRAVION_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OSTRAVION_WINE})
endif()
