# The radio feed's decoders: how many packets a second one core turns into positions; and a
# generated full feed replayed into the station list.
if(TARGET kestrel32_core)
    ringwarden_bench(bench_feed
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_feed.cpp
        LINKS kestrel32_core ringwarden_feedgen Qt6::Core)
endif()
