# The Windows side of the programs: version resources (version, maker,
# description; the editor's icon) and the editor as a windowed program.
# Included from dist/CMakeLists.txt in a Windows build, after src/.
enable_language(RC)
set(OVILANT_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
if(PROJECT_VERSION_PATCH)
    set(OVILANT_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
endif()

function(ovilant_windows_resources target description icon)
    if(NOT TARGET ${target})
        return()
    endif()
    set(OVILANT_RC_NAME ${target})
    set(OVILANT_RC_DESCRIPTION "${description}")
    set(OVILANT_RC_ICON "")
    if(icon)
        set(OVILANT_RC_ICON "1 ICON \"${CMAKE_CURRENT_LIST_DIR}/ovilant.ico\"")
    endif()
    configure_file(${CMAKE_CURRENT_LIST_DIR}/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
    # A library of its own, so that the compiler options of the program's
    # sources stay away from windres.
    add_library(${target}_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:${target}_resources>)
endfunction()

ovilant_windows_resources(ovilant "Ovilant リハビリテーション実施計画書エディタ" ON)
ovilant_windows_resources(ovilant-plan "Ovilant 計画書ファイルのコマンドラインツール" OFF)
ovilant_windows_resources(ovilant-print "Ovilant 計画書の印刷" OFF)

if(TARGET ovilant)
    # A windowed program: no console window opens with it. Qt's entry point
    # library supplies WinMain.
    set_target_properties(ovilant PROPERTIES WIN32_EXECUTABLE ON)
endif()
