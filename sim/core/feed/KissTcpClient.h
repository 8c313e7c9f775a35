#pragma once

#include "feed/FeedLink.h"
#include "feed/KissDeframer.h"

namespace feed {

// Reads a KISS TNC over TCP (Dire Wolf serves one on port 8001): KISS data frames are
// decoded as AX.25 UI frames and their APRS positions emitted as reports.
class KissTcpClient final : public FeedLink {
    Q_OBJECT
public:
    explicit KissTcpClient(QObject* parent = nullptr);

    const KissDeframer::Counters& kissCounters() const { return m_deframer.counters(); }

protected:
    QString linkName() const override { return QStringLiteral("KISS"); }
    void bytesArrived(const QByteArray& bytes) override;
    void linkDown() override { m_deframer.reset(); }

private:
    KissDeframer m_deframer;
};

} // namespace feed
