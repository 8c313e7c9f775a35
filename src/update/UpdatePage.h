#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

// The text that marks a page as coming from the program's own site.
inline const QString kUpdateSignature = QStringLiteral("Quillfeather");

// One byte is one character (Latin-1), NUL and high bytes included, in order.
QString pageTextFromBytes(const QByteArray& body);

bool pageHasSignature(const QString& page);

// The key that introduces the program's version record: appName, " Version ".
QString versionKey(const QString& appName);

// The up to 10 characters that follow the key and the "V" after it; empty when the page
// does not hold the key.
std::optional<QString> findVersionText(const QString& page, const QString& appName);

// The file name of the update record "UpdateFile_<appName>=<name> ": from the character
// after "=" up to the first blank after the name's first character. Empty when the record
// is missing or its name runs to the end of the page without a blank.
std::optional<QString> findUpdateFileName(const QString& page, const QString& appName);
