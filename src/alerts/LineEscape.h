#pragma once

#include <QString>

// Callsigns come from a radio feed that anyone can transmit on. Before one goes into a
// one-line record or a notification it is made printable: control characters (a line end or
// a tab would break the record), line and paragraph separators, "|", "\" and every other
// unprintable character become \xNN (\u{NNNN} above U+00FF), so that the text stays on one
// line and the escapes cannot be forged by the text itself. A printable character outside
// the basic plane (a surrogate pair) is kept; a lone surrogate is escaped.
QString escapeForLine(const QString& text);
