# The proximity engine against the in-process fake host.
ringwarden_bench(bench_engine
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_engine.cpp
    LINKS ringwarden_engine ringwarden_fakes Qt6::Core)
