# The made-up APRS-IS feed that the feed benchmarks replay, and a program that writes it
# to a file for `kestrel32 --replay`.
if(TARGET kestrel32_feed)
    add_library(ringwarden_feedgen STATIC ${CMAKE_CURRENT_LIST_DIR}/FeedGenerator.cpp)
    target_include_directories(ringwarden_feedgen PUBLIC ${CMAKE_CURRENT_LIST_DIR})
    target_link_libraries(ringwarden_feedgen PUBLIC kestrel32_feed Qt6::Core)
    add_executable(feed_generator ${CMAKE_CURRENT_LIST_DIR}/feed_generator.cpp)
    set_target_properties(feed_generator PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    target_link_libraries(feed_generator PRIVATE ringwarden_feedgen)
endif()
