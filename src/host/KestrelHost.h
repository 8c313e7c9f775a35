#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include "host/HostCursor.h"
#include "host/HostError.h"
#include "host/KestrelMap.h"
#include "host/KestrelStation.h"

// One application object of the host (Kestrel32). The rest of the program sees the host
// only through this interface; how it is reached (D-Bus, in-process fake) stays behind it.
// Every operation may throw HostError. Events arrive as signals on the owner's thread.
class KestrelHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~KestrelHost() override = default;

    // The host's map; owned by the host object and valid while it lives.
    virtual KestrelMap* Map() = 0;
    // Entries of the host's station list, indexed from 0.
    virtual qint16 StationCount() = 0;
    // Entry text: a marker character, the callsign (maybe ending in "*"), a blank, more
    // text. An empty text ends a walk.
    virtual QString StationListItem(qint16 index) = 0;
    // Fills position and distance of the station named by station.Callsign; false when
    // the host does not know it.
    virtual bool GetStation(KestrelStation& station) = 0;
    virtual void setEventsEnabled(qint32 value) = 0;
    virtual void AlertStation(const QString& callsign) = 0;
    virtual void SetBeacon(const KestrelBeacon& beacon) = 0;

    // Optional block operations for walks over long lists, where one call per entry would
    // cost a bus round trip each. They answer exactly what the single calls would; a host
    // that does not offer them returns std::nullopt (the default) and the caller falls back
    // to StationListItem and GetStation.
    // StationListItem for indices first .. first + count - 1, fewer at the end of the list.
    virtual std::optional<QStringList> StationListItems(qint16 first, qint16 count);
    // GetStation for each callsign in order; an unknown station's answer is std::nullopt.
    virtual std::optional<std::vector<std::optional<KestrelStation>>>
    GetStations(const QStringList& callsigns);
    // A block of a walk asked ahead (see HostBlock). This one answers at once through the
    // two block calls above; a host that talks to another process answers when the
    // answers have come, and in the meantime lets the program go on.
    virtual std::unique_ptr<HostBlock> requestBlock(qint16 first, qint16 count,
                                                    const WantedStations& wanted);

signals:
    void DataAvailable();
    void NotifyBeacon(const QString& callsign, float latitude, float longitude);
    void NotifyDelete(const QString& callsign);
    void NotifyDeleteAllStations();
    void Kestrel32IsClosing();
};
