#pragma once

#include <QByteArray>
#include <QString>

namespace feed {

// True for a name the tracker may store and show as the first word of an entry:
// 1 to 9 printable ASCII characters, no blank and no "|".
bool isStorableName(const QString& name);

// True for an APRS-IS login: 1 to 9 letters, digits and "-" (nothing that could end the
// login line or add words to it).
bool isLoginCallsign(const QString& callsign);

// The free text of a packet as shown to the operator: UTF-8 when the bytes are valid
// UTF-8 (newer radios send it), Latin-1 otherwise; control characters are removed so
// that a comment cannot break a line or a list entry.
QString cleanComment(const QByteArray& bytes);

} // namespace feed
