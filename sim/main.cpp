// kestrel32: the Kestrel32 station tracker, which serves its automation objects on the
// session bus. See docs/scenario.md and docs/dbus-interface.md.
#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "CommandLine.h"
#include "HostProgram.h"
#include "feed/AprsText.h"
#include "setup/SetupWindow.h"

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Over ssh or on a server there is no display; Qt's default platform would abort, so the
// tracker runs offscreen there and says so.
void runOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        std::fputs("kestrel32: no display; running offscreen\n", stderr);
    }
}

// A refusal quotes what it refuses (an argument, a line of a scenario file): control
// characters in it are shown escaped, never sent to the terminal as they are. The message's
// own line breaks stay.
QByteArray terminalText(const QString& message) {
    QStringList lines = message.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = feed::visibleText(line);
    return lines.join(QLatin1Char('\n')).toLocal8Bit();
}

} // namespace

int main(int argc, char** argv) {
    // The command line is answered before any window platform is loaded, so that --help and
    // a mistyped option work without a display.
    HostOptions options;
    QString text;
    switch (parseCommandLine(argumentsOf(argc, argv), options, text)) {
    case CommandLineResult::Help:
        std::fputs(qPrintable(text), stdout);
        return 0;
    case CommandLineResult::Error:
        std::fprintf(stderr, "%s\n", terminalText(text).constData());
        return 2;
    case CommandLineResult::Run:
        break;
    }

    runOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrel32"));
    QApplication::setApplicationVersion(QStringLiteral(KESTREL32_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kestrel32"));

    HostProgram program(options);
    QString error;
    if (program.needsSetup()) {
        // The first start: the setup window comes first, the map after its OK.
        if (!program.startWithSetup(&error)) {
            std::fprintf(stderr, "kestrel32: %s\n", terminalText(error).constData());
            return 2;
        }
        return app.exec();
    }
    if (!program.start(&error)) {
        std::fprintf(stderr, "kestrel32: %s\n", terminalText(error).constData());
        return 2;
    }
    std::fprintf(stdout, "kestrel32: on the session bus\n");
    std::fflush(stdout);
    return app.exec();
}
