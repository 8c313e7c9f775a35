#include "BaseMapFile.h"

#include <algorithm>
#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace basemap {

namespace {

constexpr char magic[] = "K32BASEMAP1\n";
constexpr qsizetype magicLength = sizeof(magic) - 1;
// The shipped file unpacks to about 1.3 MB; anything claiming far more is not ours.
constexpr quint32 largestPlain = 64u * 1024 * 1024;

// Little-endian fields out of a buffer; any read past its end marks it failed.
class Fields {
public:
    explicit Fields(const QByteArray& bytes) : m_bytes(bytes) {}
    bool failed() const { return m_failed; }
    bool atEnd() const { return m_at == m_bytes.size(); }
    qsizetype left() const { return m_bytes.size() - m_at; }
    quint32 u32() { return take<quint32>(); }
    qint32 i32() { return take<qint32>(); }
    quint8 u8() { return take<quint8>(); }

private:
    template <typename T> T take() {
        if (m_failed || left() < qsizetype(sizeof(T))) {
            m_failed = true;
            return T{};
        }
        const T value = qFromLittleEndian<T>(m_bytes.constData() + m_at);
        m_at += qsizetype(sizeof(T));
        return value;
    }
    const QByteArray& m_bytes;
    qsizetype m_at = 0;
    bool m_failed = false;
};

BaseMapRead failure(const QString& why) {
    return BaseMapRead{std::nullopt, why};
}

} // namespace

BaseMapRead read(QIODevice& device) {
    const QByteArray head = device.read(magicLength);
    if (head != QByteArray(magic, magicLength))
        return failure(QStringLiteral("not a kestrel32 base map file"));
    const QByteArray packed = device.readAll();
    if (packed.size() < 4)
        return failure(QStringLiteral("the file is cut short"));
    if (qFromBigEndian<quint32>(packed.constData()) > largestPlain)
        return failure(QStringLiteral("the file is damaged (impossible length)"));
    // zlib checks its own sum: a changed or missing byte gives nothing.
    const QByteArray plain = qUncompress(packed);
    if (plain.isEmpty())
        return failure(QStringLiteral("the file is damaged (checksum)"));

    Fields fields(plain);
    BaseMap map;
    const quint32 layers = fields.u32();
    for (quint32 layer = 0; layer < layers && !fields.failed(); ++layer) {
        const quint8 kind = fields.u8();
        const quint32 lines = fields.u32();
        std::vector<BaseMapLine>* into = kind == 1   ? &map.land
                                         : kind == 2 ? &map.coastlines
                                         : kind == 3 ? &map.borders
                                                     : nullptr;
        if (!into)
            return failure(QStringLiteral("the file is damaged (layer %1)").arg(kind));
        // Each line takes at least its count: a count beyond what is left is damage.
        if (qsizetype(lines) > fields.left() / 4)
            return failure(QStringLiteral("the file is damaged (line count)"));
        into->reserve(into->size() + lines);
        for (quint32 i = 0; i < lines && !fields.failed(); ++i) {
            const quint32 count = fields.u32();
            if (qsizetype(count) > fields.left() / 8)
                return failure(QStringLiteral("the file is damaged (point count)"));
            BaseMapLine line;
            line.points.reserve(count);
            double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
            for (quint32 p = 0; p < count; ++p) {
                const qint32 rawX = fields.i32();
                const qint32 rawY = fields.i32();
                // A turn and a half either way (lines past the antimeridian), pole to pole.
                if (std::abs(rawX) > 54000000 || std::abs(rawY) > 9000000)
                    return failure(QStringLiteral("the file is damaged (coordinates)"));
                const double x = rawX * 1e-5;
                const double y = rawY * 1e-5;
                line.points.emplace_back(x, y);
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
            if (count > 0)
                line.bounds = QRectF(QPointF(minX, minY), QPointF(maxX, maxY));
            into->push_back(std::move(line));
        }
    }
    if (fields.failed())
        return failure(QStringLiteral("the file is cut short"));
    if (!fields.atEnd())
        return failure(QStringLiteral("the file is damaged (bytes after the end)"));
    return BaseMapRead{std::move(map), {}};
}

BaseMapRead readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("cannot read %1 (%2)").arg(path, file.errorString()));
    BaseMapRead result = read(file);
    if (!result.map)
        result.error = path + QStringLiteral(": ") + result.error;
    return result;
}

QString installedPath() {
    const QString bin = QCoreApplication::applicationDirPath();
    const QString beside = bin + QStringLiteral("/basemap-50m.k32map");
    if (QFileInfo::exists(beside))
        return beside;
    // A program of the build's other folders (tests, bench) beside build/bin.
    const QString build = QDir::cleanPath(bin + QStringLiteral("/../bin/basemap-50m.k32map"));
    if (QFileInfo::exists(build))
        return build;
#ifdef KESTREL32_DATA_DIR_FROM_BIN
    return QDir::cleanPath(bin + QStringLiteral("/" KESTREL32_DATA_DIR_FROM_BIN) +
                           QStringLiteral("/basemap-50m.k32map"));
#else
    return beside;
#endif
}

} // namespace basemap
