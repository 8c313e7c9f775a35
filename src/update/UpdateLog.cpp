#include "update/UpdateLog.h"

QString appendLogLine(const QString& log, const QString& line) {
    QString result = log.size() > kUpdateLogLimit ? log.right(kUpdateLogKeptLength) : log;
    result += line;
    result += u'\n';
    return result;
}
