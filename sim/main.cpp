// kestrel32: the stand-in station tracker that serves the automation objects on the
// session bus. See docs/scenario.md and docs/dbus-interface.md.
#include <cstdio>

#include <QApplication>

#include "CommandLine.h"
#include "HostProgram.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrel32"));

    HostOptions options;
    QString text;
    switch (parseCommandLine(QCoreApplication::arguments(), options, text)) {
    case CommandLineResult::Help:
        std::fputs(qPrintable(text), stdout);
        return 0;
    case CommandLineResult::Error:
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return 2;
    case CommandLineResult::Run:
        break;
    }

    HostProgram program(options);
    QString error;
    if (!program.start(&error)) {
        std::fprintf(stderr, "kestrel32: %s\n", qPrintable(error));
        return 2;
    }
    std::fprintf(stdout, "kestrel32: on the session bus\n");
    std::fflush(stdout);
    return app.exec();
}
