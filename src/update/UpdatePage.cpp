#include "update/UpdatePage.h"

QString pageTextFromBytes(const QByteArray& body) {
    return QString::fromLatin1(body);
}

bool pageHasSignature(const QString& page) {
    return page.contains(kUpdateSignature);
}

QString versionKey(const QString& appName) {
    return appName + QStringLiteral(" Version ");
}

std::optional<QString> findVersionText(const QString& page, const QString& appName) {
    const QString key = versionKey(appName);
    const qsizetype keyAt = page.indexOf(key);
    if (keyAt < 0)
        return std::nullopt;
    // The character after the key is the "V"; the version starts behind it.
    const qsizetype start = keyAt + key.size() + 1;
    if (start >= page.size())
        return QString();
    return page.mid(start, 10);
}

std::optional<QString> findUpdateFileName(const QString& page, const QString& appName) {
    const QString record = QStringLiteral("UpdateFile_") + appName + u'=';
    const qsizetype recordAt = page.indexOf(record);
    if (recordAt < 0)
        return std::nullopt;
    const qsizetype nameAt = recordAt + record.size();
    if (nameAt >= page.size())
        return std::nullopt;
    const qsizetype blank = page.indexOf(u' ', nameAt + 1);
    if (blank < 0)
        return std::nullopt;
    return page.mid(nameAt, blank - nameAt);
}
