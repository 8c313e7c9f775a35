#include "feed/GpsdClient.h"

#include <QTcpSocket>

#include "feed/AprsText.h"
#include "feed/GpsdReport.h"

namespace feed {

GpsdClient::GpsdClient(QObject* parent) : FeedLink(parent) {}

void GpsdClient::linkUp() {
    socket()->write("?WATCH={\"enable\":true,\"json\":true}\n");
}

void GpsdClient::linkDown() {
    m_lines.reset();
    if (m_refusal.isEmpty())
        return;
    m_refusal.clear();
    emit refusalChanged(m_refusal);
}

void GpsdClient::bytesArrived(const QByteArray& bytes) {
    if (!m_refusal.isEmpty())
        return;
    const quint64 tooLongBefore = m_lines.tooLong();
    const QList<QByteArray> lines = m_lines.feed(bytes);
    for (quint64 i = tooLongBefore; i < m_lines.tooLong(); ++i)
        countDropped(QStringLiteral("line too long"));
    for (const QByteArray& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const GpsdReport report = readGpsdReport(line);
        if (report.kind == GpsdReport::Kind::Version && report.protocolMajor >= 0 &&
            report.protocolMajor != ProtocolMajor) {
            // gpsd's own words go into the status bar: a short, visible form of them.
            const QString release = report.release.isEmpty()
                                        ? QString()
                                        : QLatin1Char(' ') + visibleText(report.release.left(20));
            m_refusal = QStringLiteral("gpsd%1 speaks protocol %2.%3, not %4: not read")
                            .arg(release, QString::number(report.protocolMajor),
                                 QString::number(qMax(report.protocolMinor, 0)),
                                 QString::number(ProtocolMajor));
            emit refusalChanged(m_refusal);
            return;
        }
        switch (report.kind) {
        case GpsdReport::Kind::NotGpsd:
            countBadFrame(QStringLiteral("not a gpsd report"));
            break;
        case GpsdReport::Kind::Fix:
            markHealthy();
            ++m_counters.decoded;
            if (report.trackDegrees && report.speedMps)
                emit motionReceived(*report.trackDegrees, *report.speedMps * 3.6);
            emit fixReceived(report.latitude, report.longitude, report.mode);
            break;
        case GpsdReport::Kind::NoFix:
        case GpsdReport::Kind::Version:
        case GpsdReport::Kind::Other:
            // gpsd answers: the next outage starts at the first delay again.
            markHealthy();
            break;
        }
    }
}

} // namespace feed
