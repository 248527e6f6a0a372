# Build rules shared by every folder of the project.

add_compile_options(-Wall -Wextra)
if(ZOR_WERROR)
    add_compile_options(-Werror)
endif()
if(ZOR_SANITIZE)
    add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()
if(ZOR_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()
if(ZOR_SANITIZE_THREAD)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()
if(ZOR_TARGET_DEVICE)
    add_compile_definitions(ZOR_TARGET_DEVICE=1)
endif()

# Sources of one folder, with the twin of the other build left out:
# "name_device.cpp" belongs to the device build, "name_host.cpp" to the host build.
function(zor_glob_sources out dir)
    file(GLOB_RECURSE _src CONFIGURE_DEPENDS
        ${dir}/*.cpp ${dir}/*.h ${dir}/*.c ${dir}/*.qrc)
    if(ZOR_TARGET_DEVICE)
        list(FILTER _src EXCLUDE REGEX "_host\\.(cpp|c|h)$")
    else()
        list(FILTER _src EXCLUDE REGEX "_device\\.(cpp|c|h)$")
    endif()
    set(${out} ${_src} PARENT_SCOPE)
endfunction()

# One static library per layout folder; a folder without sources yet adds nothing.
# Every folder that holds a header is on the include path of the library's users.
function(zor_add_library name dir)
    set(_root ${CMAKE_CURRENT_SOURCE_DIR}/${dir})
    if(NOT EXISTS ${_root})
        return()
    endif()
    zor_glob_sources(_src ${_root})
    set(_cpp ${_src})
    list(FILTER _cpp INCLUDE REGEX "\\.(cpp|c)$")
    if(NOT _cpp)
        return()
    endif()
    add_library(${name} STATIC ${_src})
    set(_dirs ${_root})
    foreach(_f IN LISTS _src)
        get_filename_component(_d ${_f} DIRECTORY)
        list(APPEND _dirs ${_d})
    endforeach()
    list(REMOVE_DUPLICATES _dirs)
    target_include_directories(${name} PUBLIC ${_dirs})
    set(_deps)
    foreach(_dep IN LISTS ARGN)
        if(TARGET ${_dep} OR _dep MATCHES "::")
            list(APPEND _deps ${_dep})
        endif()
    endforeach()
    target_link_libraries(${name} PUBLIC ${_deps} Qt5::Core)
    set_property(GLOBAL APPEND PROPERTY ZOR_LIBRARIES ${name})
endfunction()

# Precompiled headers: the standard library and Qt headers most translation
# units pull in, parsed once per build instead of once per file. One set for
# the product libraries and every program without GoogleTest (made by
# zor_utilities), one with GoogleTest on top for the test programs (made by
# zor_test_support); every other target reuses one of the two, which holds as
# long as all targets of a build are compiled with the same options (GCC's
# -Winvalid-pch, an error under ZOR_WERROR, says when one is not). A header
# forgotten in a source file still fails the build without them:
# -DZOR_PCH=OFF.
option(ZOR_PCH "Precompile the standard library and Qt headers shared by most files" ON)

set(ZOR_PCH_HEADERS
    <algorithm> <array> <atomic> <chrono> <cmath> <condition_variable> <cstdint> <cstdio>
    <cstdlib> <functional> <future> <iterator> <limits> <map> <memory> <mutex> <optional>
    <string> <tuple> <utility> <vector>
    <QByteArray> <QDateTime> <QDomDocument> <QDomElement> <QList> <QMetaType> <QMutex>
    <QMutexLocker> <QObject> <QPair> <QRecursiveMutex> <QString> <QStringList> <QThread>
    <QTime> <QtGlobal>)
set(ZOR_PCH_TEST_HEADERS
    ${ZOR_PCH_HEADERS}
    <iostream> <set> <sstream> <thread>
    <QCoreApplication> <QDeadlineTimer> <QDir> <QElapsedTimer> <QFile> <QFileInfo> <QMetaEnum>
    <QRegularExpression> <QSet> <QTemporaryDir> <QTimer> <QXmlStreamReader>
    <gtest/gtest.h>)

# The targets defined in DIR and the folders below it.
function(_zor_targets_below out dir)
    get_property(_targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(_subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(_sub IN LISTS _subdirs)
        _zor_targets_below(_below ${_sub})
        list(APPEND _targets ${_below})
    endforeach()
    set(${out} ${_targets} PARENT_SCOPE)
endfunction()

# Whether TARGET links WANTED, directly or through the libraries it links.
function(_zor_links_to out target wanted)
    set(_seen)
    get_target_property(_queue ${target} LINK_LIBRARIES)
    while(_queue)
        list(POP_FRONT _queue _lib)
        if(_lib STREQUAL wanted)
            set(${out} TRUE PARENT_SCOPE)
            return()
        endif()
        if(TARGET ${_lib} AND NOT _lib IN_LIST _seen)
            list(APPEND _seen ${_lib})
            get_target_property(_next ${_lib} INTERFACE_LINK_LIBRARIES)
            if(_next)
                list(APPEND _queue ${_next})
            endif()
        endif()
    endwhile()
    set(${out} FALSE PARENT_SCOPE)
endfunction()

# Called once every target is defined: the header sets go to the targets that
# link the one that makes them, and so have its definitions (GCC takes a
# precompiled header only where every macro defined when it was made is
# defined alike).
function(zor_precompile_headers)
    if(NOT ZOR_PCH OR NOT TARGET zor_utilities)
        return()
    endif()
    target_precompile_headers(zor_utilities PRIVATE ${ZOR_PCH_HEADERS})
    if(TARGET zor_test_support)
        target_precompile_headers(zor_test_support PRIVATE ${ZOR_PCH_TEST_HEADERS})
    endif()
    _zor_targets_below(_targets ${PROJECT_SOURCE_DIR})
    foreach(_t IN LISTS _targets)
        get_target_property(_type ${_t} TYPE)
        if(NOT _type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|OBJECT_LIBRARY)$"
           OR _t STREQUAL "zor_utilities" OR _t STREQUAL "zor_test_support")
            continue()
        endif()
        # Generated sources only (resources): nothing to gain.
        get_target_property(_sources ${_t} SOURCES)
        list(FILTER _sources INCLUDE REGEX "\\.cpp$")
        list(FILTER _sources EXCLUDE REGEX "^${CMAKE_BINARY_DIR}/")
        if(NOT _sources)
            continue()
        endif()
        _zor_links_to(_tests ${_t} zor_test_support)
        _zor_links_to(_product ${_t} zor_utilities)
        if(_tests)
            target_precompile_headers(${_t} REUSE_FROM zor_test_support)
        elseif(_product)
            target_precompile_headers(${_t} REUSE_FROM zor_utilities)
        endif()
    endforeach()
endfunction()
