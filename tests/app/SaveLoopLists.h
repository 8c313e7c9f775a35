#pragma once

#include <QStringList>

// `count` callsigns: prefix00000, prefix00001, ...
inline QStringList numbered(const QString& prefix, int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << prefix + QString::number(i).rightJustified(5, u'0');
    return list;
}

// The two lists the save loop alternates between: of different lengths, so that a file cut
// anywhere matches neither.
struct SaveLoopLists {
    QStringList acked;
    QStringList watch;

    static SaveLoopLists of(char which) {
        return {numbered(QChar::fromLatin1(which), which == 'A' ? 3000 : 5000),
                {QStringLiteral("W%1").arg(which), QStringLiteral("LAST%1").arg(which)}};
    }
};
