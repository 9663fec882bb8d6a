# Building for 64-bit Windows on Debian with the MinGW-w64 compiler (the
# POSIX-threads flavour, for std::thread). scripts/windows.sh uses it;
# OVILANT_WINDOWS_DEPS names the folder where the libraries built for
# Windows (GoogleTest, libjpeg-turbo) and the header-only nlohmann-json are
# installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT OVILANT_WINDOWS_DEPS)
    set(OVILANT_WINDOWS_DEPS ${CMAKE_CURRENT_LIST_DIR}/../build/windows/deps)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES OVILANT_WINDOWS_DEPS)

# Libraries, headers and packages only from the target's folders; programs
# (the code generators, the shell) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${OVILANT_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs link everything statically (the C++ runtime and winpthreads
# included), so that they run from any folder without DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
