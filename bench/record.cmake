# The performance record's figures that need the real programs: a whole tick over 10,000 and
# 32,767 stations through kestrel32 on the bus and its floor, start-up to window shown, memory.
ringwarden_bench(bench_record
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_record.cpp
    LINKS ringwarden_engine ringwarden_host_dbus ringwarden_benchprograms ringwarden_feedgen Qt6::Core Qt6::DBus)
add_dependencies(bench_record kestrel32 Ringwarden ringwarden_wav)
target_compile_definitions(bench_record PRIVATE
    RINGWARDEN_BIN_DIR="${RINGWARDEN_BIN_DIR}")
