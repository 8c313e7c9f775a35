#pragma once

#include <QByteArray>
#include <QString>

namespace feed {

// True for a name the tracker may store and show as the first word of an entry:
// 1 to 9 printable ASCII characters, no blank, no "|" (Ringwarden's list separator) and no
// "*" (an entry's star mark: "AB*" would be read back as a starred "AB").
bool isStorableName(const QString& name);
// Why a name is refused, in the same words wherever one comes from (a packet, a scenario
// file, the command line).
QString unusableNameText(const QString& name);

// Outside text as it may be shown on a terminal or a status line: control characters
// (ESC, CR, ...) written as escapes ("\x1b", "\r"), so that they cannot move the cursor,
// overwrite what is shown or start a terminal command.
QString visibleText(const QString& text);

// True for an APRS-IS login: 1 to 9 letters, digits and "-" (nothing that could end the
// login line or add words to it).
bool isLoginCallsign(const QString& callsign);

// The free text of a packet as shown to the operator: UTF-8 when the bytes are valid
// UTF-8 (newer radios send it), Latin-1 otherwise; control characters are removed so
// that a comment cannot break a line or a list entry.
QString cleanComment(const QByteArray& bytes);

} // namespace feed
