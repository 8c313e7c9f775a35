#pragma once

#include <QString>

class TextList;

// The callsign of an alarm line: the text before its first blank (the whole line when it
// has none, so that a line of unknown form still names something sensible).
QString callsignOfLine(const QString& line);

// Moves every callsign of the alarm list into the acknowledged list (once each, even when
// a station has two lines), then empties the alarm list.
void acknowledgeAll(TextList& alarmLines, TextList& acked);

// Acknowledges the alarm line at row: its callsign goes into the acknowledged list and the
// line leaves the alarm list. A callsign already acknowledged changes nothing. Returns
// whether anything changed.
bool acknowledgeLine(TextList& alarmLines, int row, TextList& acked);

// A watch entry that the list file could not carry back unchanged ("|" separates its
// fields, CR and LF end its lines).
bool isStorableWatchEntry(const QString& text);

// Blanks (code 32 only) removed at both ends.
QString trimBlanks(const QString& text);

// The character typed into the watch box after the box's rules: upper case by the locale
// where the upper case is one Latin-1 character, a blank dropped (0). Enter (13) is left
// to the caller.
int upperCaseWatchKey(int keyAscii);
