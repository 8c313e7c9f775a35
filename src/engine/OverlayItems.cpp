#include "engine/OverlayItems.h"

#include <algorithm>

#include <QDir>
#include <QFile>

#include "engine/Geodesy.h"
#include "numbers/NumericText.h"

namespace {

// Splits a file's bytes into lines ending at CR, CR LF or a lone LF (files written on Linux).
// A last line without an end counts; an end at the very end of the file starts no new line.
class LineReader {
public:
    explicit LineReader(const QByteArray& content) : m_data(content) {}

    bool atEnd() const { return m_pos >= m_data.size(); }

    QString next() {
        const char* begin = m_data.constData() + m_pos;
        const char* end = m_data.constData() + m_data.size();
        const char* stop = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
        const QString line = QString::fromLatin1(begin, stop - begin);
        m_pos += stop - begin;
        if (m_pos < m_data.size()) {
            const char ending = m_data.at(m_pos);
            ++m_pos;
            if (ending == '\r' && m_pos < m_data.size() && m_data.at(m_pos) == '\n')
                ++m_pos;
        }
        return line;
    }

private:
    const QByteArray& m_data;
    qsizetype m_pos = 0;
};

} // namespace

QString overlayFolderPath(const QString& hostFolder, const QString& ownFolder) {
    const QString folder = hostFolder.isEmpty() ? ownFolder + QLatin1Char('/') : hostFolder;
    return folder + QStringLiteral("/overlays");
}

int readOverlayObjects(const QByteArray& content, OverlayTable& table, int count) {
    LineReader reader(content);
    while (!reader.atEnd()) {
        const QString line = reader.next();
        if (line.contains(u'*'))
            continue;
        const qsizetype bang = line.indexOf(u'!'); // 0-based: the name is `bang` characters
        if (bang < 0 || bang > 8)
            continue;
        // A field that cannot be converted leaves the line out, as if it were no object.
        const auto latitude = MakeLatLong(line.mid(bang + 1, 8));
        if (!latitude)
            continue;
        const auto longitude = MakeLatLong(line.mid(bang + 10, 9));
        if (!longitude)
            continue;
        count = std::min(count + 1, int(OverlayTable::kMaxItems));
        OverlayItem& item = table.gOverlayItems[size_t(count)];
        item.strName = line.left(bang);
        item.sngLat = *latitude;
        item.sngLong = *longitude;
        item.strText = line.size() > bang + 20 ? line.mid(bang + 20) : QString();
        if (item.strText.isEmpty() && !reader.atEnd()) {
            const QString continuation = reader.next();
            const qsizetype arrow = continuation.indexOf(u'>');
            if (arrow >= 0 && continuation.left(arrow) == item.strName)
                item.strText = continuation.mid(arrow + 1);
        }
    }
    return count;
}

int readOverlayFolder(const QString& folder, OverlayTable& table) {
    int count = 0;
    if (folder.isEmpty())
        return count;
    const QDir dir(folder);
    // Name filters match regardless of case unless told otherwise: "*.POS" counts too.
    const QStringList names = dir.entryList({QStringLiteral("*.pos")}, QDir::Files | QDir::Hidden,
                                            QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray content = file.readAll();
        // A file that fails while being read is left out whole rather than half.
        if (file.error() != QFileDevice::NoError)
            continue;
        count = readOverlayObjects(content, table, count);
    }
    return count;
}

double overlayDistance(float ownLatitude, float ownLongitude, const OverlayItem& item) {
    return calcDist(ownLatitude, ownLongitude, item.sngLat, item.sngLong);
}
