# The interface translations: translations/<lang>.ts compiled by lrelease into
# .qm files at build time and put into the resources as ":/zh_cn.qm",
# ":/us_en.qm", ":/pt_pt.qm", ":/ru_ru.qm" and ":/ja_jp.qm", where start-up
# loads the one of the configured language.
#
# The .ts files are refreshed from the sources and filled with
# tools/translations/fill_ts.py; the build only compiles them.
#
# The compiled resource is an object library whose objects reach every program
# that links zor_interface: its static initialiser registers the translations,
# so they are there once zorInitInterfaceResources() has run (or earlier).

if(NOT ZOR_BUILD_GUI OR NOT TARGET zor_interface)
    return()
endif()

set(ZOR_TRANSLATION_NAMES zh_cn us_en pt_pt ru_ru ja_jp)
set(_zor_tr_out ${CMAKE_BINARY_DIR}/translations)
file(MAKE_DIRECTORY ${_zor_tr_out})

set(_zor_ts)
foreach(_lang IN LISTS ZOR_TRANSLATION_NAMES)
    list(APPEND _zor_ts ${PROJECT_SOURCE_DIR}/translations/${_lang}.ts)
endforeach()
set_source_files_properties(${_zor_ts} PROPERTIES OUTPUT_LOCATION ${_zor_tr_out})
qt5_add_translation(_zor_qm ${_zor_ts} OPTIONS -silent)

set(_zor_tr_qrc "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n")
foreach(_lang IN LISTS ZOR_TRANSLATION_NAMES)
    string(APPEND _zor_tr_qrc "    <file alias=\"${_lang}.qm\">${_zor_tr_out}/${_lang}.qm</file>\n")
endforeach()
string(APPEND _zor_tr_qrc "</qresource>\n</RCC>\n")
_zor_write_if_changed(${_zor_tr_out}/zor_translations.qrc "${_zor_tr_qrc}")

add_custom_command(
    OUTPUT ${_zor_tr_out}/qrc_zor_translations.cpp
    COMMAND Qt5::rcc --name zor_translations --output ${_zor_tr_out}/qrc_zor_translations.cpp
            ${_zor_tr_out}/zor_translations.qrc
    DEPENDS ${_zor_tr_out}/zor_translations.qrc ${_zor_qm}
    COMMENT "Putting the translations into the resources"
    VERBATIM)

add_library(zor_translations OBJECT ${_zor_tr_out}/qrc_zor_translations.cpp)
set_target_properties(zor_translations PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
target_link_libraries(zor_translations PRIVATE Qt5::Core)
# Object files on the link line are always linked, unlike members of a static
# library nobody refers to.
target_link_libraries(zor_interface INTERFACE $<TARGET_OBJECTS:zor_translations>)
add_dependencies(zor_interface zor_translations)
