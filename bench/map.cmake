# kestrel32's map repaint at a full list, through the map widget of the real tracker.
if(TARGET kestrel32_windows)
    ringwarden_bench(bench_map
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_map.cpp
        LINKS kestrel32_windows Qt6::Widgets)
    target_compile_definitions(bench_map PRIVATE
        KESTREL32_BASEMAP="${CMAKE_SOURCE_DIR}/data/basemap-50m.k32map")
endif()
