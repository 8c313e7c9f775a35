#pragma once

#include "feed/FeedLink.h"
#include "feed/LineReader.h"

namespace feed {

// Follows a running gpsd over its JSON protocol: asks it to watch, then reads its reports
// line by line and emits the fixes. Reconnects like the radio links when gpsd goes away.
// A gpsd whose VERSION names another major protocol version is not read: its reports may
// look the same and mean something else.
class GpsdClient final : public FeedLink {
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 2947;
    // The protocol of gpsd 3.x, the one read here.
    static constexpr int ProtocolMajor = 3;

    explicit GpsdClient(QObject* parent = nullptr);

    quint64 tooLongLines() const { return m_lines.tooLong(); }
    // Why this gpsd is not read ("gpsd 4.1 speaks protocol 4.0, not 3: not read"); empty
    // while it is read. A new connection starts without one.
    QString refusal() const { return m_refusal; }

signals:
    void refusalChanged(const QString& refusal);
    // `mode` is gpsd's: 2 for a two-dimensional fix, 3 for a three-dimensional one.
    void fixReceived(double latitude, double longitude, int mode);
    // Course over ground (degrees) and speed (km/h) of a fix that carried both; comes just
    // before the fix's fixReceived.
    void motionReceived(double trackDegrees, double speedKmh);

protected:
    QString linkName() const override { return QStringLiteral("gpsd"); }
    void linkUp() override;
    void bytesArrived(const QByteArray& bytes) override;
    void linkDown() override;

private:
    LineReader m_lines;
    QString m_refusal;
};

} // namespace feed
