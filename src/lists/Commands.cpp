#include "lists/Commands.h"

#include <QLocale>

#include "lists/TextList.h"

QString callsignOfLine(const QString& line) {
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    return blank < 0 ? line : line.left(blank);
}

void acknowledgeAll(TextList& alarmLines, TextList& acked) {
    for (int row = 0; row < alarmLines.count(); ++row) {
        const QString callsign = callsignOfLine(alarmLines.at(row));
        if (!acked.contains(callsign))
            acked.add(callsign);
    }
    alarmLines.clear();
}

bool acknowledgeLine(TextList& alarmLines, int row, TextList& acked) {
    if (row < 0 || row >= alarmLines.count())
        return false;
    const QString callsign = callsignOfLine(alarmLines.at(row));
    if (acked.contains(callsign))
        return false;
    acked.add(callsign);
    alarmLines.removeAt(row);
    return true;
}

bool isStorableWatchEntry(const QString& text) {
    return !text.contains(QLatin1Char('|')) && !text.contains(QLatin1Char('\r')) &&
           !text.contains(QLatin1Char('\n'));
}

QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

int upperCaseWatchKey(int keyAscii) {
    if (keyAscii == 32)
        return 0;
    if (keyAscii < 32 || keyAscii > 255)
        return keyAscii;
    const QString upper = QLocale().toUpper(QString(QChar(keyAscii)));
    if (upper.size() == 1 && upper.at(0).unicode() <= 255)
        return upper.at(0).unicode();
    return keyAscii;
}
