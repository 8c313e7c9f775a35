# The radio feed's decoders: how many packets a second one core turns into positions.
if(TARGET kestrel32_feed)
    ringwarden_bench(bench_feed
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_feed.cpp
        LINKS kestrel32_feed Qt6::Core)
endif()
