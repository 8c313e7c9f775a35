#include "update/UpdateOutcome.h"

#include "update/UpdatePage.h"

namespace {

using Result = UpdateOutcome::Result;

UpdateOutcome noVersionInformation(UpdateOutcome outcome, const QString& appName) {
    const QString text = QStringLiteral("No version information found for app ") + appName;
    outcome.result = Result::NoVersionInformation;
    outcome.logLines << u' ' + text;
    outcome.status = text;
    outcome.colour = UpdateStatusColour::Failure;
    return outcome;
}

} // namespace

UpdateOutcome evaluateUpdatePage(const QString& page, const QString& appName,
                                 const UpdateVersion& own, const QString& updateServer,
                                 const QString& decimalPoint) {
    UpdateOutcome outcome;
    outcome.logLines << QStringLiteral("Check signature");
    if (!pageHasSignature(page)) {
        // A proxy or a login page answers with a page of its own.
        outcome.result = Result::NoSignature;
        outcome.logLines << QStringLiteral("  signature not found");
        outcome.status = QStringLiteral("Can not contact webserver, maybe behind proxy ");
        outcome.colour = UpdateStatusColour::Failure;
        return outcome;
    }

    outcome.logLines << QStringLiteral("look for version information");
    outcome.logLines << QStringLiteral("  look for version information: ") + versionKey(appName);
    const auto versionText = findVersionText(page, appName);
    if (!versionText)
        return noVersionInformation(std::move(outcome), appName);
    outcome.logLines << QStringLiteral("  found version information");
    const auto published = parseVersionText(*versionText);
    if (!published)
        return noVersionInformation(std::move(outcome), appName);

    outcome.status = QStringLiteral("This app = ") + versionDottedText(own) +
                     QStringLiteral(", the update = ") + versionDottedText(*published);
    outcome.colour = UpdateStatusColour::Success;
    outcome.logLines << QStringLiteral("current version = ") +
                            versionValueText(own.major, own.minor, decimalPoint) +
                            QStringLiteral(", rev:") + QString::number(own.revision);
    outcome.logLines << QStringLiteral("update version  = ") +
                            versionValueText(published->major, published->minor, decimalPoint) +
                            QStringLiteral(", rev:") + QString::number(published->revision);

    if (!isNewerVersion(*published, own)) {
        outcome.result = Result::UpToDate;
        outcome.logLines << QStringLiteral(" Your current version is up to date");
        outcome.status = QStringLiteral("Your current version is up to date");
        outcome.colour = UpdateStatusColour::Success;
        return outcome;
    }

    outcome.logLines << QStringLiteral(" a newer version is available...");
    const auto fileName = findUpdateFileName(page, appName);
    if (!fileName) {
        outcome.result = Result::NoUpdateRecord;
        outcome.logLines << QStringLiteral("    did not found version information");
        outcome.status = QStringLiteral("The update file information is not found or invalid");
        outcome.colour = UpdateStatusColour::Failure;
        return outcome;
    }
    outcome.result = Result::UpdateAvailable;
    outcome.updateFile = *fileName;
    outcome.logLines << QStringLiteral("    update is available");
    outcome.status = QStringLiteral("There is a newer version of this program at ") + updateServer;
    outcome.colour = UpdateStatusColour::Success;
    return outcome;
}

QString contactingText(const QString& updateServer) {
    return QStringLiteral("Contacting webserver ") + updateServer;
}

QString failedToConnectText(const QString& updateServer) {
    return QStringLiteral("Failed to connect to ") + updateServer;
}

QString requestErrorText(const QString& description) {
    return QStringLiteral("error ") + description;
}

QString downloadLinkText(const QString& updateFile) {
    return QStringLiteral("Download the update ") + updateFile;
}

QString downloadLinkToolTip(const QString& updateFile, const QString& updateServer) {
    return QStringLiteral("Download update ") + updateFile + QStringLiteral(" from ") +
           updateServer;
}

QString downloadAddress(const QString& updateServer, const QString& updateFile) {
    return updateServer + u'/' + updateFile;
}
