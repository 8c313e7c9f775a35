#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "Geo.h"
#include "TrackerSettings.h"
#include "feed/FeedOptions.h"
#include "setup/TrackerConf.h"

// What kestrel32 was asked to do on its command line.
struct HostOptions {
    QString scenarioFile; // empty: no stations
    QString folder;       // empty: Kestrel32 under the user's data folder
    QString journalFile;  // empty: no journal
    std::optional<double> quitAfterSeconds;
    // Closes the tracker right after it answered this call for the given time (a test's way
    // to close it in the middle of an add-on's work).
    QString quitOnCallName;
    int quitOnCallCount = 0;
    feed::FeedOptions feed;           // radio links, own station, expiry
    std::optional<DistanceUnit> unit; // empty: the scenario's

    // The arguments as given (the program name first), so that the settings file can be
    // merged in again after the operator changed it.
    QStringList arguments;
    // The settings file and what it holds (the setup window starts from it).
    QString settingsFile;
    TrackerConf conf;
    QStringList unknownConfKeys;
    // The options that the command line gave; they win over the file for this run.
    QStringList given;
};

enum class CommandLineResult { Run, Help, Error };

// Reads the arguments (the program name first), and the settings file for what they leave
// out. On Help `text` is the help text, on Error the message; both for standard output or
// standard error as they come.
CommandLineResult parseCommandLine(const QStringList& arguments, HostOptions& options,
                                   QString& text,
                                   const QString& settingsFile = trackerSettingsPath());
