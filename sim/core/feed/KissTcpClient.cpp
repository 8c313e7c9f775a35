#include "feed/KissTcpClient.h"

namespace feed {

KissTcpClient::KissTcpClient(QObject* parent) : FeedLink(parent) {}

void KissTcpClient::bytesArrived(const QByteArray& bytes) {
    const KissDeframer::Counters before = m_deframer.counters();
    const QList<KissFrame> frames = m_deframer.feed(bytes);
    const KissDeframer::Counters& after = m_deframer.counters();
    const quint64 lost = (after.nonData - before.nonData) + (after.oversize - before.oversize) +
                         (after.badEscape - before.badEscape);
    for (quint64 i = 0; i < lost; ++i)
        countDropped(QStringLiteral("unusable KISS frame"));
    for (const KissFrame& kiss : frames) {
        const Ax25Result ax25 = decodeAx25(kiss.data);
        if (!ax25.ok()) {
            countBadFrame(ax25ErrorText(ax25.error));
            continue;
        }
        markHealthy();
        handlePacket(ax25.frame);
    }
}

} // namespace feed
