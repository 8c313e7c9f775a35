#pragma once

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QJsonArray>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>

class HostCore;
class Journal;

// Arguments of a call or an event as the journal writes them.
QJsonArray hostEventJson(const QVariantList& args);

// The tracker's side of its bus objects: the generated adaptors (KestrelBusAdaptors.h, from
// net.brightmoor.Kestrel32.xml) hand each call here with the contract's types. One class for
// both objects, since the adaptors of one contract share their parent's type: the
// application object gets only ApplicationAdaptor, the map object only MapAdaptor. Each
// call goes to the core and into the journal; a call the core refuses is answered with the
// tracker's own error and journaled with it.
class HostBusObject final : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    HostBusObject(HostCore& core, Journal& journal, QObject* parent = nullptr);

    // net.brightmoor.Kestrel32.Application
    QDBusObjectPath Map();
    short StationCount();
    QString StationListItem(short index);
    bool GetStation(const QString& callsign, double& longitude, double& latitude, double& distance);
    QStringList StationListItems(short first, short count);
    QList<bool> GetStations(const QStringList& callsigns, QList<double>& longitude,
                            QList<double>& latitude, QList<double>& distance);
    void SetEventsEnabled(int value);
    void AlertStation(const QString& callsign);
    void SetBeacon(const QString& callsign, const QString& comment);

    // net.brightmoor.Kestrel32.Map
    void SetDrawWidth(int width);
    void SetDrawStyle(short style);
    void SetFillColor(int colour);
    double ScaleHeight();
    short PixelHeight();
    void DrawCircle(double x, double y, double radius, int colour, double startAngle,
                    double endAngle, double aspect);
    int DrawCircles(int drawWidth, short drawStyle, int fillColor, const QList<double>& x,
                    const QList<double>& y, const QList<double>& radius, const QList<int>& colour,
                    const QList<double>& startAngle, const QList<double>& endAngle,
                    const QList<double>& aspect);

private:
    // Runs the call's work on the core; false when the core refused it (then answered and
    // journaled as refused).
    bool serve(const std::function<void()>& work);
    // Journals the answered call; `result` is what the journal records of the answer.
    void answered(const QJsonValue& result);
    void answered();
    QString journalName() const;
    QJsonArray journalArgs() const;

    HostCore& m_core;
    Journal& m_journal;
};
