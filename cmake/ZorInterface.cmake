# The interface resources: QML pages and controls, images, the icon font and
# the Quick Controls configuration, compiled into one static library that the
# application and the QML tests share.
#
# Nothing here is edited by hand: the resource file and the controls' qmldir
# are generated at configure time from the folders, and a file added to one of
# them re-runs CMake (CONFIGURE_DEPENDS). Resource paths mirror the source
# tree: "qrc:/Main.qml", "qrc:/QMLControls/EditNumberBox.qml",
# "qrc:/QMLImages/Default/Home.png", "qrc:/QMLIconFonts/iconfont.ttf".
#
# Users call zorInitInterfaceResources() (header ZorInterfaceResources.h) once
# before loading QML and add "qrc:/" to the engine's import path; the controls
# are then the module "QMLControls" 1.0, or the directory "qrc:/QMLControls".

# Writes content to path only when it differs, so that an unchanged file keeps
# its time stamp and nothing is rebuilt.
function(_zor_write_if_changed path content)
    if(EXISTS ${path})
        file(READ ${path} _old)
        if(_old STREQUAL content)
            return()
        endif()
    endif()
    file(WRITE ${path} "${content}")
endfunction()

function(_zor_xml_escape out text)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# zor_add_interface_library(<name>): the static library <name> with the
# resources of the project's interface folders and zorInitInterfaceResources().
function(zor_add_interface_library name)
    set(_root ${PROJECT_SOURCE_DIR})
    set(_out ${CMAKE_CURRENT_BINARY_DIR}/${name})
    file(MAKE_DIRECTORY ${_out})

    file(GLOB_RECURSE _files CONFIGURE_DEPENDS RELATIVE ${_root}
        ${_root}/QMLControls/*.qml ${_root}/QMLControls/*.js
        ${_root}/QMLPages/*.qml ${_root}/QMLPages/*.js ${_root}/QMLPages/qmldir
        ${_root}/QMLImages/*.png ${_root}/QMLImages/*.svg ${_root}/QMLImages/*.jpg
        ${_root}/QMLIconFonts/*.ttf ${_root}/QMLIconFonts/*.otf)
    foreach(_top Main.qml GlobalConfiguration.qml)
        if(EXISTS ${_root}/${_top})
            list(APPEND _files ${_top})
        endif()
    endforeach()
    list(SORT _files)

    # The controls as a module: every QMLControls/<Type>.qml is <Type> 1.0.
    set(_qmldir "module QMLControls\n")
    foreach(_f IN LISTS _files)
        if(_f MATCHES "^QMLControls/([^/]+)\\.qml$")
            string(APPEND _qmldir "${CMAKE_MATCH_1} 1.0 ${CMAKE_MATCH_1}.qml\n")
        endif()
    endforeach()
    _zor_write_if_changed(${_out}/qmldir "${_qmldir}")

    set(_qrc "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n")
    foreach(_f IN LISTS _files)
        _zor_xml_escape(_alias "${_f}")
        _zor_xml_escape(_path "${_root}/${_f}")
        string(APPEND _qrc "    <file alias=\"${_alias}\">${_path}</file>\n")
    endforeach()
    _zor_xml_escape(_path "${_out}/qmldir")
    string(APPEND _qrc "    <file alias=\"QMLControls/qmldir\">${_path}</file>\n")
    # Quick Controls read their style from ":/qtquickcontrols2.conf".
    if(EXISTS ${_root}/QMLControls/qtquickcontrols2.conf)
        _zor_xml_escape(_path "${_root}/QMLControls/qtquickcontrols2.conf")
        string(APPEND _qrc "    <file alias=\"qtquickcontrols2.conf\">${_path}</file>\n")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
            ${_root}/QMLControls/qtquickcontrols2.conf)
    endif()
    string(APPEND _qrc "</qresource>\n</RCC>\n")
    _zor_write_if_changed(${_out}/${name}.qrc "${_qrc}")

    _zor_write_if_changed(${_out}/ZorInterfaceResources.h
"#pragma once

// Registers the interface resources (QML, images, fonts, the Quick Controls
// configuration) with the resource system. Call once before loading QML;
// further calls do nothing.
void zorInitInterfaceResources();
")
    _zor_write_if_changed(${_out}/ZorInterfaceResources.cpp
"#include \"ZorInterfaceResources.h\"

#include <QtGlobal>

#include <mutex>

// Q_INIT_RESOURCE must stand outside any namespace.
static void initInterfaceResources()
{
    Q_INIT_RESOURCE(${name});
}

void zorInitInterfaceResources()
{
    static std::once_flag once;
    std::call_once(once, initInterfaceResources);
}
")

    add_library(${name} STATIC
        ${_out}/${name}.qrc
        ${_out}/ZorInterfaceResources.cpp
        ${_out}/ZorInterfaceResources.h)
    set_target_properties(${name} PROPERTIES AUTORCC ON AUTOMOC OFF)
    target_include_directories(${name} PUBLIC ${_out})
    target_link_libraries(${name} PUBLIC Qt5::Core)
endfunction()

# zor_add_qml_screenshot(<name> <qml file> [SIZE <w>x<h>] [LANGUAGE <lang>]):
# a test (label "gui") that renders the QML file with the software renderer
# into <build>/screenshots/<name>.png and fails on a QML error or warning or on
# an image of a single colour. LANGUAGE installs the translation ":/<lang>.qm"
# (us_en, pt_pt, ...) first. The file may declare the main window's ids
# (globalConfiguration, the input panels); viewBaseModel is a stub. Needs the
# program zor_qml_screenshot of tests/qml.
function(zor_add_qml_screenshot name qml)
    cmake_parse_arguments(_arg "" "SIZE;LANGUAGE" "" ${ARGN})
    if(NOT _arg_SIZE)
        set(_arg_SIZE 800x480)
    endif()
    set(_language)
    if(_arg_LANGUAGE)
        set(_language --language ${_arg_LANGUAGE})
    endif()
    get_filename_component(_qml ${qml} ABSOLUTE)
    add_test(NAME screenshot_${name}
        COMMAND zor_qml_screenshot --size ${_arg_SIZE} ${_language} ${_qml} ${CMAKE_BINARY_DIR}/screenshots/${name}.png)
    set_tests_properties(screenshot_${name} PROPERTIES
        LABELS gui TIMEOUT 120
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QUICK_BACKEND=software")
endfunction()
