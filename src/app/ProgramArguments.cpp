#include "app/ProgramArguments.h"

#include "support/Globals.h"

ProgramArguments readProgramArguments(const QStringList& arguments) {
    ProgramArguments result;
    if (arguments.size() <= 1)
        return result;
    const QString& first = arguments[1];
    if (arguments.size() == 2 &&
        (first == QStringLiteral("--help") || first == QStringLiteral("-h"))) {
        result.outcome = ProgramArguments::Outcome::Print;
        result.text = QStringLiteral(
            "Usage: Ringwarden [--help | --version]\n"
            "Proximity alarm beside the Kestrel32 tracker: sounds an alarm when stations come\n"
            "within the range set in its window. Start the tracker first; Ringwarden takes its\n"
            "own callsign from the tracker and its settings from Ringwarden.INI.\n\n"
            "Options:\n"
            "  -h, --help     Shows this help.\n"
            "  --version      Shows the version.\n");
        return result;
    }
    if (arguments.size() == 2 && first == QStringLiteral("--version")) {
        result.outcome = ProgramArguments::Outcome::Print;
        result.text = QStringLiteral("Ringwarden %1\n").arg(appVersion.mid(1));
        return result;
    }
    result.outcome = ProgramArguments::Outcome::Refuse;
    result.exitCode = 2;
    result.text = QStringLiteral("Ringwarden: unexpected argument '%1' (it takes none but "
                                 "--help and --version)")
                      .arg(first == QStringLiteral("--help") || first == QStringLiteral("--version")
                               ? arguments[2]
                               : first);
    return result;
}
