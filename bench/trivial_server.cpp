// The bus's own floor for a walk over the tracker's list: a server that answers
// StationCount, StationListItems and GetStations for the benchmark's stations from memory,
// with nothing computed per call. bench_record fetches the whole list from it in one call
// each and sets the tracker's serving and Ringwarden's tick against that figure.
//
// Run: bench_trivial_server STATIONS IN_RANGE (on the session bus, under the tracker's name).
#include <cmath>
#include <cstdio>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QHash>
#include <QList>
#include <QStringList>

#include "host/dbus/KestrelBusNames.h"

namespace {

struct Fix {
    double longitude = 0.0;
    double latitude = 0.0;
    double distance = 0.0;
};

// The stations of benchprograms::scrambledScenario, with the entry texts and distances the
// tracker would give them.
class Stations {
public:
    Stations(int stations, int inRange) {
        m_entries.append(QStringLiteral("@G0OWN 0.0km"));
        m_fixes.insert(QStringLiteral("G0OWN"), Fix{-60.0, 52.0 * 60.0, 0.0});
        for (int i = 1; i < stations; ++i) {
            const int n = int((qint64(i) * 7919) % stations);
            const bool near = n <= inRange;
            const double lat = near ? 52.0 + (n % 25) * 0.0015 : 52.4 + (n % 100) * 0.01;
            const double lon = near ? -1.0 + (n / 25) * 0.002 : -1.5 + (n / 100) * 0.01;
            const double km = distanceKm(52.0, -1.0, lat, lon);
            const QString callsign = QStringLiteral("ST%1").arg(n);
            m_entries.append(QLatin1Char('#') + callsign + QLatin1Char(' ') +
                             QString::number(km, 'f', 1) + QStringLiteral("km"));
            m_fixes.insert(callsign, Fix{lon * 60.0, lat * 60.0, km});
        }
    }
    const QStringList& entries() const { return m_entries; }
    const Fix* fix(const QString& callsign) const {
        const auto it = m_fixes.constFind(callsign);
        return it == m_fixes.constEnd() ? nullptr : &*it;
    }

private:
    static double distanceKm(double lat1, double lon1, double lat2, double lon2) {
        constexpr double rad = 3.14159265358979323846 / 180.0;
        const double a = std::sin((lat2 - lat1) * rad / 2);
        const double b = std::sin((lon2 - lon1) * rad / 2);
        const double h = a * a + std::cos(lat1 * rad) * std::cos(lat2 * rad) * b * b;
        return 2 * 6371.0 * std::asin(std::sqrt(h));
    }

    QStringList m_entries;
    QHash<QString, Fix> m_fixes;
};

class Server final : public QDBusVirtualObject {
public:
    explicit Server(const Stations& stations) : m_stations(stations) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString member = message.member();
        const QVariantList in = message.arguments();
        if (member == QLatin1String("StationCount")) {
            connection.send(
                message.createReply(QVariant::fromValue(qint16(m_stations.entries().size()))));
        } else if (member == QLatin1String("StationListItems") && in.size() == 2) {
            const int first = in.at(0).toInt();
            const int count = in.at(1).toInt();
            connection.send(message.createReply(m_stations.entries().mid(first, count)));
        } else if (member == QLatin1String("GetStations") && in.size() == 1) {
            const QStringList callsigns = in.at(0).toStringList();
            QList<bool> found;
            QList<double> longitude, latitude, distance;
            for (const QString& callsign : callsigns) {
                const Fix* fix = m_stations.fix(callsign);
                found.append(fix != nullptr);
                longitude.append(fix ? fix->longitude : 0.0);
                latitude.append(fix ? fix->latitude : 0.0);
                distance.append(fix ? fix->distance : 0.0);
            }
            connection.send(message.createReply(
                {QVariant::fromValue(found), QVariant::fromValue(longitude),
                 QVariant::fromValue(latitude), QVariant::fromValue(distance)}));
        } else {
            return false;
        }
        return true;
    }

private:
    const Stations& m_stations;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s STATIONS IN_RANGE\n", argv[0]);
        return 2;
    }
    qDBusRegisterMetaType<QList<bool>>();
    qDBusRegisterMetaType<QList<double>>();
    const Stations stations(std::atoi(argv[1]), std::atoi(argv[2]));
    Server server(stations);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(kestrelbus::applicationPath(), &server) ||
        !bus.registerService(kestrelbus::serviceName())) {
        std::fprintf(stderr, "cannot serve on the session bus\n");
        return 1;
    }
    return app.exec();
}
