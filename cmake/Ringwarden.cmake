# Helpers shared by the subsystem folders.

# ringwarden_library(NAME SOURCES... LINKS ...): a static library of one subsystem.
function(ringwarden_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    set(compiled ${ARG_SOURCES})
    list(FILTER compiled INCLUDE REGEX "\\.cpp$")
    if(compiled)
        add_library(${name} STATIC ${ARG_SOURCES})
        target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
        target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    else()
        # A subsystem whose sources are yet to come.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARG_LINKS})
    endif()
endfunction()

# ringwarden_test(NAME SOURCES... LINKS ... [LABELS ...] [DBUS]): one GoogleTest program.
# Test programs live in build/tests, not in build/bin, which holds only what is shipped.
# DBUS tests run under their own private session bus (dbus-run-session).
# RINGWARDEN_TEST_PER_CASE registers every test case with CTest on its own instead.
option(RINGWARDEN_TEST_PER_CASE "One CTest test per GoogleTest case" OFF)
function(ringwarden_test name)
    cmake_parse_arguments(ARG "DBUS" "" "SOURCES;LINKS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_LINKS} ringwarden_testkit ringwarden_testmain GTest::gtest)
    # Where the shipped programs are, for tests that run them.
    target_compile_definitions(${name} PRIVATE RINGWARDEN_BIN_DIR="${RINGWARDEN_BIN_DIR}")
    set(env "QT_QPA_PLATFORM=offscreen")
    if(ARG_DBUS)
        add_test(NAME ${name}
                 COMMAND dbus-run-session -- $<TARGET_FILE:${name}>)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" LABELS "dbus;${ARG_LABELS}")
    elseif(RINGWARDEN_TEST_PER_CASE)
        gtest_discover_tests(${name}
            DISCOVERY_TIMEOUT 60
            PROPERTIES ENVIRONMENT "${env}" LABELS "${ARG_LABELS}")
    else()
        # One process per program: starting a GUI application for each of a thousand cases
        # would cost minutes of the test run.
        add_test(NAME ${name} COMMAND $<TARGET_FILE:${name}>)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" LABELS "${ARG_LABELS}")
    endif()
endfunction()
