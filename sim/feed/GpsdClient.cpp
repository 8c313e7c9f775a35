#include "feed/GpsdClient.h"

#include <QTcpSocket>

#include "feed/GpsdReport.h"

namespace feed {

GpsdClient::GpsdClient(QObject* parent) : FeedLink(parent) {}

void GpsdClient::linkUp() {
    socket()->write("?WATCH={\"enable\":true,\"json\":true}\n");
}

void GpsdClient::bytesArrived(const QByteArray& bytes) {
    const quint64 tooLongBefore = m_lines.tooLong();
    const QList<QByteArray> lines = m_lines.feed(bytes);
    for (quint64 i = tooLongBefore; i < m_lines.tooLong(); ++i)
        countDropped(QStringLiteral("line too long"));
    for (const QByteArray& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const GpsdReport report = readGpsdReport(line);
        switch (report.kind) {
        case GpsdReport::Kind::NotGpsd:
            countBadFrame(QStringLiteral("not a gpsd report"));
            break;
        case GpsdReport::Kind::Fix:
            markHealthy();
            ++m_counters.decoded;
            if (report.trackDegrees && report.speedMps)
                emit motionReceived(*report.trackDegrees, *report.speedMps * 3.6);
            emit fixReceived(report.latitude, report.longitude);
            break;
        case GpsdReport::Kind::NoFix:
        case GpsdReport::Kind::Other:
            // gpsd answers: the next outage starts at the first delay again.
            markHealthy();
            break;
        }
    }
}

} // namespace feed
