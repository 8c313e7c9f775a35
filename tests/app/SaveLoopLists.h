#pragma once

#include <QStringList>

// The two lists the save loop alternates between: of different lengths, so that a file cut
// anywhere matches neither.
struct SaveLoopLists {
    QStringList acked;
    QStringList watch;

    static SaveLoopLists of(char which) {
        SaveLoopLists lists;
        const int count = which == 'A' ? 3000 : 5000;
        for (int i = 0; i < count; ++i)
            lists.acked << QLatin1Char(which) + QString::number(i).rightJustified(5, u'0');
        lists.watch << QStringLiteral("W%1").arg(which) << QStringLiteral("LAST%1").arg(which);
        return lists;
    }
};
