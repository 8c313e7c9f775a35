#include "lists/GetField.h"

QString GetField(int index, const QString& separator, const QString& text) {
    if (index < 0)
        return separator;
    if (separator.isEmpty())
        return index == 0 ? text : separator;

    // Find the separators one after another, at most index + 1 of them, remembering where
    // the last two found stand.
    qsizetype beforeLast = -1; // -1: the field starts at the beginning of the text
    qsizetype last = -1;
    int found = 0;
    for (qsizetype from = 0; found <= index; ++found) {
        const qsizetype at = text.indexOf(separator, from, Qt::CaseSensitive);
        if (at < 0)
            break;
        beforeLast = last;
        last = at;
        from = at + separator.size();
    }

    if (found == index + 1) { // a separator closes the field
        const qsizetype begin = beforeLast < 0 ? 0 : beforeLast + separator.size();
        return text.mid(begin, last - begin);
    }
    if (found == index) // the field runs to the end of the text
        return index == 0 ? text : text.mid(last + separator.size());
    return separator;
}
