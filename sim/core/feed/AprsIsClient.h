#pragma once

#include <QTimer>

#include "feed/FeedLink.h"
#include "feed/LineReader.h"

namespace feed {

// Reads APRS-IS: logs in with the operator's passcode (-1, receive only, without one) and an
// optional server filter, then decodes every TNC2 line; "#" lines are the server's own and are
// skipped. APRS-IS servers send a comment at least every 20 s or so, so a connection that stays
// silent for longer than the idle limit is treated as dead and reconnected.
class AprsIsClient final : public FeedLink {
    Q_OBJECT
public:
    static constexpr int DefaultIdleMs = 120000;

    explicit AprsIsClient(QObject* parent = nullptr);

    // A callsign of 1-9 letters, digits and "-"; false (and unchanged) otherwise.
    bool setLogin(const QString& callsign);
    // The login's passcode; -1 (the default) logs in receive-only.
    void setPasscode(int passcode) { m_passcode = passcode; }
    // A server filter ("r/51.5/-0.1/50"); printable ASCII, no line break. Empty: none.
    bool setFilter(const QString& filter);
    // Sets the filter and, on an open connection, tells the server at once with a
    // "#filter" line (servers take it without a new login). False (unchanged) when unusable.
    bool changeFilter(const QString& filter);
    QString filter() const { return m_filter; }
    void setVersion(const QString& version) { m_version = version; }
    void setIdleTimeout(int ms) { m_idleMs = ms; }

    // The login line, with its CR LF.
    QByteArray loginLine() const;
    // The range filter round a point: "r/LAT/LON/KM".
    static QString rangeFilter(double latitude, double longitude, int km);

    quint64 tooLongLines() const { return m_lines.tooLong(); }
    // The server's answer to the login ("# logresp ..."), once it came.
    QString loginResponse() const { return m_loginResponse; }

protected:
    QString linkName() const override { return QStringLiteral("APRS-IS"); }
    QString startProblem() const override;
    void linkUp() override;
    void bytesArrived(const QByteArray& bytes) override;
    void linkDown() override;

private:
    LineReader m_lines;
    QTimer m_idleTimer;
    QString m_login;
    QString m_filter;
    QString m_version;
    QString m_loginResponse;
    int m_idleMs = DefaultIdleMs;
    int m_passcode = -1;
};

} // namespace feed
