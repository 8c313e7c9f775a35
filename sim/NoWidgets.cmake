# The core and the bus hold no widgets. Their links are walked here, at configure time; their
# sources' includes are read by CheckNoWidgets.cmake before the core is compiled, so a
# QtWidgets header (even as <QtWidgets/QLabel>, which the Gui include path would find) fails
# the build.
function(kestrel32_reject_widgets target)
    # A walk over the link graph; via_<link> names the target that brought <link> in.
    set(pending ${target})
    while(pending)
        list(POP_FRONT pending item)
        if(item MATCHES "^Qt6?::Widgets$")
            set(chain ${item})
            while(DEFINED via_${item})
                set(item ${via_${item}})
                list(PREPEND chain ${item})
            endwhile()
            list(JOIN chain " -> " chain)
            message(FATAL_ERROR "${target} must not link Qt Widgets: ${chain}")
        endif()
        get_target_property(imported ${item} IMPORTED)
        if(imported)
            get_target_property(links ${item} INTERFACE_LINK_LIBRARIES)
        else()
            get_target_property(links ${item} LINK_LIBRARIES)
        endif()
        foreach(link IN LISTS links)
            string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
            if(TARGET "${link}" AND NOT DEFINED via_${link} AND NOT link STREQUAL target)
                set(via_${link} ${item})
                list(APPEND pending ${link})
            endif()
        endforeach()
    endwhile()
endfunction()
kestrel32_reject_widgets(kestrel32_core)
kestrel32_reject_widgets(kestrel32_bus)

get_target_property(qt_include_dirs Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
list(FILTER qt_include_dirs INCLUDE REGEX "/QtWidgets$")
file(GLOB_RECURSE no_widget_sources CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/core/*.h ${CMAKE_CURRENT_SOURCE_DIR}/core/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/bus/*.h ${CMAKE_CURRENT_SOURCE_DIR}/bus/*.cpp)
set(stamp ${CMAKE_CURRENT_BINARY_DIR}/no-widgets.stamp)
add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DWIDGETS_DIR=${qt_include_dirs}
            -DROOT=${CMAKE_CURRENT_SOURCE_DIR} -DSTAMP=${stamp}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/CheckNoWidgets.cmake
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/CheckNoWidgets.cmake ${no_widget_sources}
    COMMENT "Checking that kestrel32's core and bus include no QtWidgets header"
    VERBATIM)
add_custom_target(kestrel32_no_widgets DEPENDS ${stamp})
add_dependencies(kestrel32_feed kestrel32_no_widgets)
add_dependencies(kestrel32_core kestrel32_no_widgets)
