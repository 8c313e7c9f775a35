#pragma once

#include <QString>
#include <QStringList>

#include "update/UpdateVersion.h"

// What the update window shows after the page has arrived.
enum class UpdateStatusColour { Working, Success, Failure };

struct UpdateOutcome {
    enum class Result {
        NoSignature,
        NoVersionInformation,
        UpToDate,
        UpdateAvailable,
        NoUpdateRecord
    };

    Result result = Result::NoSignature;
    QString status;
    UpdateStatusColour colour = UpdateStatusColour::Failure;
    QStringList logLines; // in the order they are written to the log
    QString updateFile;   // set when an update is available
};

// Judges a fetched page: signature, version record, comparison with the own version and
// the update record. decimalPoint is the separator the log writes version values with.
UpdateOutcome evaluateUpdatePage(const QString& page, const QString& appName,
                                 const UpdateVersion& own, const QString& updateServer,
                                 const QString& decimalPoint);

// The status line while the request is outstanding, and its log line.
QString contactingText(const QString& updateServer);
// The status line after a failed request.
QString failedToConnectText(const QString& updateServer);
// The text of the box that describes a failed request.
QString requestErrorText(const QString& description);

// The download link's text and tooltip, and the address a click on it opens.
QString downloadLinkText(const QString& updateFile);
QString downloadLinkToolTip(const QString& updateFile, const QString& updateServer);
QString downloadAddress(const QString& updateServer, const QString& updateFile);
