#pragma once

#include <QCache>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>

#include "TileMath.h"

class QNetworkAccessManager;
class QNetworkReply;

// Raster tiles from an XYZ tile server, for the tiles a view shows and no others: each asked
// for once, kept in memory for the paints and on disk (a QNetworkDiskCache with a size limit)
// for later, a tile that fails tried again only after a while. Requests name kestrel32 and its
// version, as tile servers ask of their users.
class TileFetcher final : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 defaultCacheBytes = 200LL * 1024 * 1024;
    static constexpr int defaultTimeoutMs = 15000;
    // A tile that failed (404, time-out, not an image) is not asked for again before this.
    static constexpr qint64 retryAfterMs = 5 * 60 * 1000;
    // Decoded tiles kept for painting: a few screens full.
    static constexpr int memoryTiles = 256;

    // `cacheFolder` holds the disk cache; empty for none.
    TileFetcher(const QString& cacheFolder, qint64 cacheBytes = defaultCacheBytes,
                QObject* parent = nullptr);
    ~TileFetcher() override;

    // "https://tile.example.org/{z}/{x}/{y}.png"; empty switches the tiles off.
    void setUrlTemplate(const QString& urlTemplate);
    const QString& urlTemplate() const { return m_template; }
    bool enabled() const { return !m_template.isEmpty(); }
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }

    // The tiles the view shows now: those not at hand are asked for, and requests for tiles
    // the view no longer shows are dropped.
    void want(const std::vector<tiles::TileId>& inView);
    // The tile's picture; nullptr while it is not at hand (the map shows the base map).
    const QImage* tile(const tiles::TileId& id) const;
    int pending() const { return int(m_pending.size()); }

    static QByteArray userAgent();

signals:
    void tileArrived(const tiles::TileId& id);
    // A tile could not be had, in words ("tile 12/2034/1361: Not Found").
    void tileFailed(const QString& why);

private:
    void finished(QNetworkReply* reply, const tiles::TileId& id);

    QNetworkAccessManager* m_network;
    QString m_template;
    int m_timeoutMs = defaultTimeoutMs;
    QCache<tiles::TileId, QImage> m_images;
    QHash<tiles::TileId, QNetworkReply*> m_pending;
    QHash<tiles::TileId, qint64> m_failedAt;
    QElapsedTimer m_clock;
};
