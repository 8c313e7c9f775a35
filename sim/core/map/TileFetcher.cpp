#include "TileFetcher.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>

TileFetcher::TileFetcher(const QString& cacheFolder, qint64 cacheBytes, QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)), m_images(memoryTiles) {
    if (!cacheFolder.isEmpty() && QDir().mkpath(cacheFolder)) {
        auto* cache = new QNetworkDiskCache(m_network);
        cache->setCacheDirectory(cacheFolder);
        cache->setMaximumCacheSize(cacheBytes);
        m_network->setCache(cache);
    }
    m_clock.start();
}

TileFetcher::~TileFetcher() {
    for (QNetworkReply* reply : std::as_const(m_pending)) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

QByteArray TileFetcher::userAgent() {
    return QByteArrayLiteral("kestrel32/" KESTREL32_VERSION " (Kestrel32 tracker)");
}

void TileFetcher::setUrlTemplate(const QString& urlTemplate) {
    if (urlTemplate == m_template)
        return;
    m_template = urlTemplate;
    m_images.clear();
    m_failedAt.clear();
    want({});
}

void TileFetcher::want(const std::vector<tiles::TileId>& inView) {
    QSet<tiles::TileId> wanted;
    for (const tiles::TileId& id : inView)
        wanted.insert(id);
    // What the view has left is no longer worth the server's time.
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (wanted.contains(it.key())) {
            ++it;
            continue;
        }
        QNetworkReply* reply = it.value();
        it = m_pending.erase(it);
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    if (m_template.isEmpty())
        return;
    const qint64 now = m_clock.elapsed();
    for (const tiles::TileId& id : inView) {
        if (m_images.contains(id) || m_pending.contains(id))
            continue;
        if (const auto failed = m_failedAt.constFind(id);
            failed != m_failedAt.cend() && now - *failed < retryAfterMs)
            continue;
        QNetworkRequest request{QUrl(tiles::tileUrl(m_template, id))};
        request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::PreferCache);
        request.setTransferTimeout(m_timeoutMs);
        QNetworkReply* reply = m_network->get(request);
        m_pending.insert(id, reply);
        connect(reply, &QNetworkReply::finished, this, [this, reply, id] { finished(reply, id); });
    }
}

void TileFetcher::finished(QNetworkReply* reply, const tiles::TileId& id) {
    reply->deleteLater();
    if (m_pending.value(id) != reply)
        return;
    m_pending.remove(id);
    QImage image;
    const bool ok = reply->error() == QNetworkReply::NoError &&
                    image.loadFromData(reply->readAll()) && !image.isNull();
    if (!ok) {
        m_failedAt.insert(id, m_clock.elapsed());
        const QString why =
            reply->error() == QNetworkReply::OperationCanceledError ? QStringLiteral("timed out")
            : reply->error() != QNetworkReply::NoError              ? reply->errorString()
                                                       : QStringLiteral("not an image");
        emit tileFailed(QStringLiteral("tile %1/%2/%3: %4").arg(id.z).arg(id.x).arg(id.y).arg(why));
        return;
    }
    m_failedAt.remove(id);
    m_images.insert(id, new QImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)));
    emit tileArrived(id);
}

const QImage* TileFetcher::tile(const tiles::TileId& id) const {
    return m_images.object(id);
}
