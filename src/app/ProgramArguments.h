#pragma once

#include <QString>
#include <QStringList>

// Ringwarden's command line: the program is set up in its window and takes no arguments, but
// answers --help and --version as desktop programs do, without needing a display.
struct ProgramArguments {
    enum class Outcome { Run, Print, Refuse };
    Outcome outcome = Outcome::Run;
    // For standard output (Print, ending in a line end) or one line for standard error
    // (Refuse).
    QString text;
    // The process's exit code when it does not run: 0 printed, 2 refused.
    int exitCode = 0;
};

// `arguments` with the program's name first.
ProgramArguments readProgramArguments(const QStringList& arguments);
