# Building for 64-bit Windows on Debian with the MinGW-w64 compiler (the
# POSIX-threads flavour, for std::thread). scripts/windows.sh uses it;
# OVILANT_WINDOWS_DEPS names the folder where the libraries built for
# Windows (GoogleTest, libjpeg-turbo) and the header-only nlohmann-json are
# installed, OVILANT_WINDOWS_QT the Qt for Windows that scripts/windows-qt.sh
# builds (optional: without it the editor is not built).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT OVILANT_WINDOWS_DEPS)
    set(OVILANT_WINDOWS_DEPS ${CMAKE_CURRENT_LIST_DIR}/../build/windows/deps)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES OVILANT_WINDOWS_DEPS OVILANT_WINDOWS_QT)

# Libraries, headers and packages only from the target's folders; programs
# (the code generators, the shell) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${OVILANT_WINDOWS_DEPS})
if(OVILANT_WINDOWS_QT)
    # Qt's packages for Windows from its prefix; its host tools (moc, rcc,
    # uic) are Debian's.
    list(APPEND CMAKE_FIND_ROOT_PATH ${OVILANT_WINDOWS_QT})
    list(APPEND CMAKE_PREFIX_PATH ${OVILANT_WINDOWS_QT})
    if(NOT QT_HOST_PATH)
        set(QT_HOST_PATH /usr)
    endif()
    if(NOT QT_HOST_PATH_CMAKE_DIR)
        # Debian keeps the host Qt's packages in its multiarch folder.
        file(GLOB host_info ${QT_HOST_PATH}/lib/*/cmake/Qt6HostInfo)
        if(host_info)
            list(GET host_info 0 host_info)
            get_filename_component(QT_HOST_PATH_CMAKE_DIR ${host_info} DIRECTORY)
        endif()
    endif()
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs link the C++ runtime and winpthreads statically, so that the
# command-line tool and the tests run from any folder without DLLs beside
# them. The editor links Qt's DLLs, which bring their own copy of the
# runtime's DLLs (scripts/windows.sh puts them beside it).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
