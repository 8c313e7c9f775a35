#pragma once

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

#include <QtGlobal>
#include <benchmark/benchmark.h>

// What every benchmark program's main does once its application object exists.
inline int runBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Without a session bus, runs this very program again under dbus-run-session, so that it
// measures on a private bus with nothing else on it. Returns only when a bus is there.
inline void restartOnAPrivateBusIfNone(char** argv) {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") ||
        !qEnvironmentVariableIsEmpty("BENCH_UNDER_PRIVATE_BUS"))
        return;
    setenv("BENCH_UNDER_PRIVATE_BUS", "1", 1);
    std::vector<char*> args{const_cast<char*>("dbus-run-session"), const_cast<char*>("--")};
    for (char** arg = argv; *arg; ++arg)
        args.push_back(*arg);
    args.push_back(nullptr);
    execvp("dbus-run-session", args.data());
    perror("cannot start dbus-run-session");
    std::exit(2);
}
