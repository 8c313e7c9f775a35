#pragma once

#include <QString>

// The log grows without bound over many checks; past this many characters the next line
// first cuts it down to its last kUpdateLogKeptLength characters.
constexpr qsizetype kUpdateLogLimit = 15000;
constexpr qsizetype kUpdateLogKeptLength = 10000;

// The log with one more line: trimmed by the rule above, then the line and a line end.
QString appendLogLine(const QString& log, const QString& line);
