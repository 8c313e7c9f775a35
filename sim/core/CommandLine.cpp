#include "CommandLine.h"

#include <cmath>

#include <QCommandLineParser>

CommandLineResult parseCommandLine(const QStringList& givenArguments, HostOptions& options,
                                   QString& text, const QString& settingsFile) {
    QStringList arguments = feed::withGpsdAddress(givenArguments);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Kestrel32 tracker: maps the radio stations heard and serves the tracker's automation "
        "objects on the "
        "session bus (name net.brightmoor.Kestrel32) for add-ons such as Ringwarden."));
    const QCommandLineOption scenario(
        QStringLiteral("scenario"),
        QStringLiteral("Plays the stations of the JSON scenario FILE (docs/scenario.md). "
                       "Without it the tracker starts with no stations."),
        QStringLiteral("FILE"));
    const QCommandLineOption folder(
        QStringLiteral("folder"),
        QStringLiteral("Program folder DIR, where kestrel32.ini and overlays/ are written "
                       "(default: Kestrel32 under the user's data folder)."),
        QStringLiteral("DIR"));
    const QCommandLineOption journal(
        QStringLiteral("journal"),
        QStringLiteral("Writes every automation call and event to FILE, one JSON object a line."),
        QStringLiteral("FILE"));
    const QCommandLineOption quitAfter(
        QStringLiteral("quit-after"),
        QStringLiteral("Closes the tracker after SECONDS (fractions allowed), as closing its "
                       "window does."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption quitOnCall(
        QStringLiteral("quit-on-call"),
        QStringLiteral("Closes the tracker, as closing its window does, right after it answered "
                       "the COUNTth call of NAME (for example DrawCircle:10)."),
        QStringLiteral("NAME:COUNT"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Shows the version and ends."));
    const QCommandLineOption unit(
        QStringLiteral("unit"),
        QStringLiteral("Distance unit km, mi or nm (default: the scenario's, or km)."),
        QStringLiteral("UNIT"));
    parser.addOptions({scenario, folder, journal, quitAfter, quitOnCall, help, version, unit});
    feed::addFeedOptions(parser);

    const QString program = QStringLiteral("kestrel32");
    if (!parser.parse(arguments)) {
        text = QStringLiteral("%1: %2\nTry '%1 --help'.").arg(program, parser.errorText());
        return CommandLineResult::Error;
    }
    if (parser.isSet(version)) {
        text = QStringLiteral("kestrel32 (Kestrel32 tracker) %1\n")
                   .arg(QStringLiteral(KESTREL32_VERSION));
        return CommandLineResult::Help;
    }
    if (parser.isSet(help)) {
        // The parser names the running executable's path; the help names the program.
        text = parser.helpText();
        text = QStringLiteral("Usage: %1 [options]").arg(program) +
               text.mid(text.indexOf(QLatin1Char('\n')));
        return CommandLineResult::Help;
    }
    if (!parser.positionalArguments().isEmpty()) {
        text = QStringLiteral("%1: unexpected argument '%2'\nTry '%1 --help'.")
                   .arg(program, parser.positionalArguments().constFirst());
        return CommandLineResult::Error;
    }
    // What the command line leaves out comes from the settings file; its faults name the
    // file and the key.
    options.arguments = givenArguments;
    options.settingsFile = settingsFile;
    options.given = parser.optionNames();
    bool settingsBlamed = false;
    if (!settingsFile.isEmpty()) {
        const ConfReading reading = readTrackerConfFile(settingsFile);
        if (!reading.fault.isEmpty()) {
            text = QStringLiteral("%1: %2").arg(program, reading.fault);
            return CommandLineResult::Error;
        }
        options.conf = reading.conf;
        options.unknownConfKeys = reading.unknownKeys;
        if (const QStringList fromFile = confArguments(reading.conf, options.given);
            !fromFile.isEmpty()) {
            feed::FeedOptions alone;
            QString unused;
            settingsBlamed = feed::readFeedOptions(parser, alone, unused);
            arguments += fromFile;
            if (!parser.parse(arguments)) {
                text = QStringLiteral("%1: %2: %3").arg(program, settingsFile, parser.errorText());
                return CommandLineResult::Error;
            }
        }
    }
    for (const QCommandLineOption* option :
         {&scenario, &folder, &journal, &quitAfter, &quitOnCall, &unit}) {
        if (parser.values(*option).size() > 1) {
            text = QStringLiteral("%1: --%2 given more than once")
                       .arg(program, option->names().constFirst());
            return CommandLineResult::Error;
        }
        if (parser.isSet(*option) && parser.value(*option).isEmpty()) {
            text =
                QStringLiteral("%1: --%2 needs a value").arg(program, option->names().constFirst());
            return CommandLineResult::Error;
        }
    }
    if (!feed::readFeedOptions(parser, options.feed, text)) {
        text = settingsBlamed ? QStringLiteral("%1: %2: %3").arg(program, settingsFile, text)
                              : QStringLiteral("%1: %2\nTry '%1 --help'.").arg(program, text);
        return CommandLineResult::Error;
    }
    // The passcode belongs to the file's login.
    if (!options.conf.passcode.isEmpty() && options.feed.login == options.conf.effectiveLogin())
        options.feed.passcode = options.conf.passcode.toInt();
    if (parser.isSet(unit)) {
        DistanceUnit chosen{};
        if (!geo::parseUnit(parser.value(unit), chosen)) {
            text = QStringLiteral("%1: --unit needs km, mi or nm, not '%2'")
                       .arg(program, parser.value(unit));
            return CommandLineResult::Error;
        }
        options.unit = chosen;
    }
    options.scenarioFile = parser.value(scenario);
    options.folder = parser.value(folder);
    options.journalFile = parser.value(journal);
    if (parser.isSet(quitAfter)) {
        bool ok = false;
        const double seconds = parser.value(quitAfter).toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds < 0.0) {
            text = QStringLiteral("%1: --quit-after needs a number of seconds, not '%2'")
                       .arg(program, parser.value(quitAfter));
            return CommandLineResult::Error;
        }
        options.quitAfterSeconds = seconds;
    }
    if (parser.isSet(quitOnCall)) {
        const QString value = parser.value(quitOnCall);
        const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
        bool ok = false;
        const int count = colon > 0 ? value.mid(colon + 1).toInt(&ok) : 0;
        if (!ok || count < 1) {
            text =
                QStringLiteral("%1: --quit-on-call needs NAME:COUNT, not '%2'").arg(program, value);
            return CommandLineResult::Error;
        }
        options.quitOnCallName = value.left(colon);
        options.quitOnCallCount = count;
    }
    return CommandLineResult::Run;
}
