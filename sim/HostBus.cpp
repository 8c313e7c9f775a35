#include "HostBus.h"

#include <algorithm>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QJsonArray>

#include "HostCore.h"
#include "Journal.h"
#include "host/dbus/KestrelBusContract.h"
#include "host/dbus/KestrelBusNames.h"

namespace {

QJsonValue toJson(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        return value.toLongLong();
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        return QJsonArray::fromStringList(value.toStringList());
    default:
        return value.toString();
    }
}

QJsonArray toJson(const QVariantList& args) {
    QJsonArray array;
    for (const QVariant& arg : args)
        array.append(toJson(arg));
    return array;
}

// One call as it arrives: answers it, journals it under its operation's name.
class Call {
public:
    Call(const QDBusMessage& message, const QDBusConnection& connection, Journal& journal,
         const QString& name, const QString& interface)
        : m_message(message), m_connection(connection), m_journal(journal), m_name(name),
          m_contract(busMethod(interface, message.member())) {}

    // False (and answered with an error) when the arguments are not those the contract
    // gives the method.
    bool expect() {
        const QString signature = m_contract ? m_contract->inSignature : QString();
        if (m_message.signature() == signature)
            return true;
        refuse(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
               QStringLiteral("%1 takes arguments (%2), not (%3)")
                   .arg(m_name, signature, m_message.signature()));
        return false;
    }
    QVariant arg(int i) const { return m_message.arguments().value(i); }

    void answer(const QVariantList& out, const QJsonValue& result) {
        m_journal.call(m_name, toJson(m_message.arguments()), result);
        QDBusMessage reply = m_message.createReply(out);
        m_connection.send(reply);
    }
    void answer() { answer({}, QJsonValue(QJsonValue::Undefined)); }
    void refuse(const QString& errorName, const QString& text) {
        m_journal.failedCall(m_name, toJson(m_message.arguments()), text);
        m_connection.send(m_message.createErrorReply(errorName, text));
    }
    void refuse(const CallRefused& refused) {
        refuse(kestrelbus::invalidValueError(), refused.message());
    }

private:
    const QDBusMessage& m_message;
    const QDBusConnection& m_connection;
    Journal& m_journal;
    QString m_name;
    const BusMethod* m_contract;
};

bool forInterface(const QDBusMessage& message, const QString& interface) {
    return message.type() == QDBusMessage::MethodCallMessage &&
           (message.interface().isEmpty() || message.interface() == interface);
}

} // namespace

class HostBus::ApplicationObject final : public QDBusVirtualObject {
public:
    ApplicationObject(HostCore& core, Journal& journal) : m_core(core), m_journal(journal) {}

    QString introspect(const QString&) const override {
        return busInterfaceXml(kestrelbus::applicationInterface());
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (!forInterface(message, kestrelbus::applicationInterface()))
            return false;
        const QString member = message.member();
        const QString name =
            member == QLatin1String("SetEventsEnabled") ? QStringLiteral("EventsEnabled") : member;
        Call call(message, connection, m_journal, name, kestrelbus::applicationInterface());
        try {
            if (member == QLatin1String("Map")) {
                if (call.expect())
                    call.answer({QVariant::fromValue(QDBusObjectPath(kestrelbus::mapPath()))},
                                kestrelbus::mapPath());
            } else if (member == QLatin1String("StationCount")) {
                if (call.expect()) {
                    const qint16 count = m_core.stationCount();
                    call.answer({QVariant::fromValue(count)}, count);
                }
            } else if (member == QLatin1String("StationListItem")) {
                if (call.expect()) {
                    const QString text = m_core.stationListItem(call.arg(0).toLongLong());
                    call.answer({text}, text);
                }
            } else if (member == QLatin1String("GetStation")) {
                if (call.expect()) {
                    const auto fix = m_core.getStation(call.arg(0).toString());
                    const StationFix f = fix.value_or(StationFix{});
                    call.answer(
                        {fix.has_value(), f.longitudeMinutes, f.latitudeMinutes, f.distance},
                        fix.has_value());
                }
            } else if (member == QLatin1String("StationListItems")) {
                // Our own block form of StationListItem, so that a walk over a long list
                // does not pay one bus round trip per entry.
                if (call.expect()) {
                    const qint64 first = call.arg(0).toLongLong();
                    const qint64 count = call.arg(1).toLongLong();
                    if (first < 0)
                        throw CallRefused(
                            QStringLiteral("station list index %1 is negative").arg(first));
                    if (count < 0)
                        throw CallRefused(
                            QStringLiteral("station list count %1 is negative").arg(count));
                    const qint64 end = std::min<qint64>(first + count, m_core.stationCount());
                    QStringList texts;
                    texts.reserve(std::max<qint64>(0, end - first));
                    for (qint64 i = first; i < end; ++i)
                        texts.append(m_core.stationListItem(i));
                    call.answer({texts}, QJsonArray::fromStringList(texts));
                }
            } else if (member == QLatin1String("GetStations")) {
                // The block form of GetStation: four arrays, one element a callsign.
                if (call.expect()) {
                    const QStringList callsigns = call.arg(0).toStringList();
                    QList<bool> found;
                    QList<double> longitude;
                    QList<double> latitude;
                    QList<double> distance;
                    QJsonArray result;
                    for (const QString& callsign : callsigns) {
                        const auto fix = m_core.getStation(callsign);
                        const StationFix f = fix.value_or(StationFix{});
                        found.append(fix.has_value());
                        longitude.append(f.longitudeMinutes);
                        latitude.append(f.latitudeMinutes);
                        distance.append(f.distance);
                        result.append(fix.has_value());
                    }
                    call.answer({QVariant::fromValue(found), QVariant::fromValue(longitude),
                                 QVariant::fromValue(latitude), QVariant::fromValue(distance)},
                                result);
                }
            } else if (member == QLatin1String("SetEventsEnabled")) {
                if (call.expect()) {
                    m_core.setEventsEnabled(call.arg(0).toLongLong());
                    call.answer();
                }
            } else if (member == QLatin1String("AlertStation")) {
                if (call.expect()) {
                    m_core.alertStation(call.arg(0).toString());
                    call.answer();
                }
            } else if (member == QLatin1String("SetBeacon")) {
                if (call.expect()) {
                    m_core.setBeacon(call.arg(0).toString(), call.arg(1).toString());
                    call.answer();
                }
            } else {
                return false;
            }
        } catch (const CallRefused& refused) {
            call.refuse(refused);
        }
        return true;
    }

private:
    HostCore& m_core;
    Journal& m_journal;
};

class HostBus::MapObject final : public QDBusVirtualObject {
public:
    MapObject(HostCore& core, Journal& journal) : m_core(core), m_journal(journal) {}

    QString introspect(const QString&) const override {
        return busInterfaceXml(kestrelbus::mapInterface());
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (!forInterface(message, kestrelbus::mapInterface()))
            return false;
        const QString member = message.member();
        // Journal names are the properties' own names, without the setter's "Set".
        const bool setter = member.startsWith(QLatin1String("Set"));
        Call call(message, connection, m_journal, setter ? member.mid(3) : member,
                  kestrelbus::mapInterface());
        try {
            if (member == QLatin1String("SetDrawWidth")) {
                if (call.expect()) {
                    m_core.setDrawWidth(call.arg(0).toLongLong());
                    call.answer();
                }
            } else if (member == QLatin1String("SetDrawStyle")) {
                if (call.expect()) {
                    m_core.setDrawStyle(call.arg(0).toLongLong());
                    call.answer();
                }
            } else if (member == QLatin1String("SetFillColor")) {
                if (call.expect()) {
                    m_core.setFillColor(call.arg(0).toLongLong());
                    call.answer();
                }
            } else if (member == QLatin1String("ScaleHeight")) {
                if (call.expect()) {
                    const double height = m_core.scaleHeight();
                    call.answer({height}, height);
                }
            } else if (member == QLatin1String("PixelHeight")) {
                if (call.expect()) {
                    const qint16 height = m_core.pixelHeight();
                    call.answer({QVariant::fromValue(height)}, height);
                }
            } else if (member == QLatin1String("DrawCircle")) {
                if (call.expect()) {
                    m_core.drawCircle(call.arg(0).toDouble(), call.arg(1).toDouble(),
                                      call.arg(2).toDouble(), call.arg(3).toLongLong(),
                                      call.arg(4).toDouble(), call.arg(5).toDouble(),
                                      call.arg(6).toDouble());
                    call.answer();
                }
            } else {
                return false;
            }
        } catch (const CallRefused& refused) {
            call.refuse(refused);
        }
        return true;
    }

private:
    HostCore& m_core;
    Journal& m_journal;
};

HostBus::HostBus(HostCore& core, Journal& journal, QDBusConnection connection, QObject* parent)
    : QObject(parent), m_core(core), m_journal(journal), m_connection(std::move(connection)),
      m_application(new ApplicationObject(core, journal)), m_map(new MapObject(core, journal)) {
    connect(&m_core, &HostCore::hostEvent, this, &HostBus::sendEvent);
}

HostBus::~HostBus() {
    stop();
    m_connection.unregisterObject(kestrelbus::applicationPath());
    m_connection.unregisterObject(kestrelbus::mapPath());
    delete m_application;
    delete m_map;
}

namespace {

QString nameTakenText() {
    return QStringLiteral("the bus name %1 is already taken (is another kestrel32 running?)")
        .arg(kestrelbus::serviceName());
}

} // namespace

bool HostBus::prepare(QString* error) {
    const auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!m_connection.isConnected())
        return fail(QStringLiteral("cannot reach the session bus (%1)")
                        .arg(m_connection.lastError().message()));
    if (!m_connection.registerVirtualObject(kestrelbus::applicationPath(), m_application) ||
        !m_connection.registerVirtualObject(kestrelbus::mapPath(), m_map))
        return fail(QStringLiteral("cannot register the automation objects on the session bus"));
    if (m_connection.interface()->isServiceRegistered(kestrelbus::serviceName()).value())
        return fail(nameTakenText());
    return true;
}

bool HostBus::start(QString* error) {
    // Queueing behind an owner would leave two trackers fighting over one name: refuse.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_connection.interface()->registerService(kestrelbus::serviceName(),
                                                  QDBusConnectionInterface::DontQueueService,
                                                  QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        if (error)
            *error = nameTakenText();
        return false;
    }
    m_started = true;
    return true;
}

void HostBus::stop() {
    if (!m_started)
        return;
    m_started = false;
    // A round trip to the bus daemon: it answers only after everything sent before, the
    // closing signal included, has reached it, so no add-on misses that signal.
    m_connection.call(QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
    m_connection.interface()->unregisterService(kestrelbus::serviceName());
}

void HostBus::sendEvent(const QString& name, const QVariantList& args) {
    m_journal.event(name, toJson(args));
    QDBusMessage signal = QDBusMessage::createSignal(kestrelbus::applicationPath(),
                                                     kestrelbus::applicationInterface(), name);
    signal.setArguments(args);
    m_connection.send(signal);
}
