# The bus's floor: a server answering the list from memory, for bench_record's comparison.
add_executable(bench_trivial_server ${CMAKE_CURRENT_LIST_DIR}/trivial_server.cpp)
set_target_properties(bench_trivial_server PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
target_include_directories(bench_trivial_server PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(bench_trivial_server PRIVATE Qt6::Core Qt6::DBus)

# The performance record's figures that need the real programs: a whole tick over 10,000 and
# 32,767 stations through kestrel32 on the bus and its floor, start-up to window shown, memory.
ringwarden_bench(bench_record
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_record.cpp
    LINKS ringwarden_engine ringwarden_host_dbus ringwarden_benchprograms ringwarden_feedgen ringwarden_fakes
          Qt6::Core Qt6::DBus)
add_dependencies(bench_record kestrel32 Ringwarden ringwarden_wav bench_trivial_server)
target_compile_definitions(bench_record PRIVATE
    RINGWARDEN_BIN_DIR="${RINGWARDEN_BIN_DIR}"
    TRIVIAL_SERVER_PROGRAM="$<TARGET_FILE:bench_trivial_server>")
