# Bus round-trip cost of a scan-like walk through the real stand-in tracker, next to the
# same walk over the in-process fake. Starts its own private bus when none is running.
ringwarden_bench(bench_dbus
    SOURCES bench_dbus.cpp
    LINKS ringwarden_host_dbus ringwarden_fakes ringwarden_benchprograms Qt6::Core Qt6::DBus)
add_dependencies(bench_dbus kestrel32)
