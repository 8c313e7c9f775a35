#pragma once

#include <QByteArray>
#include <QString>

// The INI text rules of the Windows profile calls, on the bytes of a whole file. Bytes are
// Latin-1 characters, so every byte that is not touched is written back as it was read.
//
// Reading: section and key names compare case-insensitively; the first matching section
// and, inside it, the first matching key win; lines whose first non-blank character is ';'
// and lines without '=' are not keys; blanks around names and values are dropped, then one
// pair of matching quotes (double or single) around the value.
// Lines end at CR LF, CR or LF.

// The value of section/key in content, or defaultValue (its trailing blanks dropped) when
// there is none; at most bufferSize - 1 characters, as a caller's buffer would hold.
QString profileValueIn(const QByteArray& content, const QString& section, const QString& key,
                       const QString& defaultValue, int bufferSize = 500);

// content with section/key set to value: only that key's line is replaced; a missing key is
// added after the last non-empty line of its section, a missing section is added at the end.
// Every line written ends with CR LF. Line breaks inside value become blanks so that a value
// can never add lines (or sections) of its own.
QByteArray profileWithValue(const QByteArray& content, const QString& section, const QString& key,
                            const QString& value);
