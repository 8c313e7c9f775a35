#pragma once

#include "feed/FeedLink.h"
#include "feed/LineReader.h"

namespace feed {

// Follows a running gpsd over its JSON protocol: asks it to watch, then reads its reports
// line by line and emits the fixes. Reconnects like the radio links when gpsd goes away.
class GpsdClient final : public FeedLink {
    Q_OBJECT
public:
    // gpsd's longest report (a SKY with every satellite) stays well below this.
    static constexpr int MaxLine = 16384;
    static constexpr quint16 DefaultPort = 2947;

    explicit GpsdClient(QObject* parent = nullptr);

    quint64 tooLongLines() const { return m_lines.tooLong(); }

signals:
    void fixReceived(double latitude, double longitude);
    // Course over ground (degrees) and speed (km/h) of a fix that carried both; comes just
    // before the fix's fixReceived.
    void motionReceived(double trackDegrees, double speedKmh);

protected:
    QString linkName() const override { return QStringLiteral("gpsd"); }
    void linkUp() override;
    void bytesArrived(const QByteArray& bytes) override;
    void linkDown() override { m_lines.reset(); }

private:
    LineReader m_lines{MaxLine};
};

} // namespace feed
