#pragma once

#include <optional>

#include <QString>
#include <QStringView>

// A program version as the update page publishes it and as the executable carries it:
// major, minor and revision, each within a 16-bit integer.
struct UpdateVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;

    friend bool operator==(const UpdateVersion&, const UpdateVersion&) = default;
};

// The largest piece a version may carry; a larger one is no version at all.
constexpr int kLargestVersionPiece = 32767;

// Reads one piece of a version: blanks are skipped, a leading sign and the digits that
// follow are read, anything else ends the number; a piece without digits gives 0.
// Empty when the number does not fit a 16-bit integer or is negative.
std::optional<int> readVersionPiece(QStringView piece);

// Reads the text that follows "Version V" on the page: major "." minor "." revision and
// a closing blank. Empty when a dot or the blank is missing or a piece is out of range.
std::optional<UpdateVersion> parseVersionText(QStringView text);

// Compares the decimal numbers written as major "." minor: 1.6 is greater than 1.57 and
// 1.10 equals 1.1. Negative, zero or positive as a is less, equal or greater.
int compareVersionValues(int majorA, int minorA, int majorB, int minorB);

// True when the published version is newer: a greater major.minor value, or an equal one
// with a greater revision.
bool isNewerVersion(const UpdateVersion& published, const UpdateVersion& own);

// The major.minor value in its shortest decimal form: 1.1, 2, 1.57.
QString versionValueText(int major, int minor, const QString& decimalPoint);

// major "." minor "." revision, each in plain decimal.
QString versionDottedText(const UpdateVersion& version);
