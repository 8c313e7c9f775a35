#include "HostBus.h"

#include <algorithm>
#include <functional>

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QHash>
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
        if (value.canConvert<QDBusArgument>()) {
            // An array of numbers, as the block calls take them.
            const auto argument = value.value<QDBusArgument>();
            QJsonArray array;
            if (argument.currentSignature() == QLatin1String("ad")) {
                for (const double number : qdbus_cast<QList<double>>(argument))
                    array.append(number);
                return array;
            }
            if (argument.currentSignature() == QLatin1String("ai")) {
                for (const qint32 number : qdbus_cast<QList<qint32>>(argument))
                    array.append(number);
                return array;
            }
        }
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

    // Whether the call is written down: the journal's JSON is built only then.
    bool journaling() const { return m_journal.isOpen(); }
    // `result` is what the journal records of the answer (see journaling).
    void answer(const QVariantList& out, const QJsonValue& result) {
        m_journal.call(m_name, journaling() ? toJson(m_message.arguments()) : QJsonArray(), result);
        QDBusMessage reply = m_message.createReply(out);
        m_connection.send(reply);
    }
    void answer() { answer({}, QJsonValue(QJsonValue::Undefined)); }
    void refuse(const QString& errorName, const QString& text) {
        m_journal.failedCall(m_name, journaling() ? toJson(m_message.arguments()) : QJsonArray(),
                             text);
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

using Handler = std::function<void(Call&)>;

// Far below the bus's message limit (128 MiB by default), so that no answer of entries is
// refused by the bus, which would drop the tracker from it; small enough that one answer
// does not hold the tracker's window for long.
constexpr qint64 kAnswerBudget = 256 * 1024;

// Name → handler for the application object's methods; each is called once the arguments
// match the contract.
QHash<QString, Handler> applicationHandlers(HostCore& core) {
    return {
        {QStringLiteral("Map"),
         [](Call& call) {
             call.answer({QVariant::fromValue(QDBusObjectPath(kestrelbus::mapPath()))},
                         kestrelbus::mapPath());
         }},
        {QStringLiteral("StationCount"),
         [&core](Call& call) {
             const qint16 count = core.stationCount();
             call.answer({QVariant::fromValue(count)}, count);
         }},
        {QStringLiteral("StationListItem"),
         [&core](Call& call) {
             const QString text = core.stationListItem(call.arg(0).toLongLong());
             call.answer({text}, text);
         }},
        {QStringLiteral("GetStation"),
         [&core](Call& call) {
             const auto fix = core.getStation(call.arg(0).toString());
             const StationFix f = fix.value_or(StationFix{});
             call.answer({fix.has_value(), f.longitudeMinutes, f.latitudeMinutes, f.distance},
                         fix.has_value());
         }},
        // Our own block form of StationListItem, so that a walk over a long list does not pay
        // one bus round trip per entry.
        {QStringLiteral("StationListItems"),
         [&core](Call& call) {
             const qint64 first = call.arg(0).toLongLong();
             const qint64 count = call.arg(1).toLongLong();
             if (first < 0)
                 throw CallRefused(QStringLiteral("station list index %1 is negative").arg(first));
             if (count < 0)
                 throw CallRefused(QStringLiteral("station list count %1 is negative").arg(count));
             const qint64 end = std::min<qint64>(first + count, core.stationCount());
             QStringList texts;
             texts.reserve(std::max<qint64>(0, end - first));
             // The answer stays within one bus message: past the budget it ends early and
             // the caller asks again from where it ended.
             qint64 bytes = 0;
             for (qint64 i = first; i < end && (texts.isEmpty() || bytes < kAnswerBudget); ++i) {
                 texts.append(core.stationListItem(i));
                 bytes += 8 + 3 * texts.constLast().size(); // UTF-8 at most 3 bytes a char
             }
             call.answer({texts}, call.journaling() ? QJsonArray::fromStringList(texts)
                                                    : QJsonValue(QJsonValue::Undefined));
         }},
        // The block form of GetStation: four arrays, one element a callsign.
        {QStringLiteral("GetStations"),
         [&core](Call& call) {
             QList<bool> found;
             QList<double> longitude;
             QList<double> latitude;
             QList<double> distance;
             const QStringList callsigns = call.arg(0).toStringList();
             for (QList<double>* list : {&longitude, &latitude, &distance})
                 list->reserve(callsigns.size());
             found.reserve(callsigns.size());
             for (const QString& callsign : callsigns) {
                 const auto fix = core.getStation(callsign);
                 const StationFix f = fix.value_or(StationFix{});
                 found.append(fix.has_value());
                 longitude.append(f.longitudeMinutes);
                 latitude.append(f.latitudeMinutes);
                 distance.append(f.distance);
             }
             QJsonArray result;
             if (call.journaling())
                 for (const bool known : found)
                     result.append(known);
             call.answer({QVariant::fromValue(found), QVariant::fromValue(longitude),
                          QVariant::fromValue(latitude), QVariant::fromValue(distance)},
                         result);
         }},
        {QStringLiteral("SetEventsEnabled"),
         [&core](Call& call) {
             core.setEventsEnabled(call.arg(0).toLongLong());
             call.answer();
         }},
        {QStringLiteral("AlertStation"),
         [&core](Call& call) {
             core.alertStation(call.arg(0).toString());
             call.answer();
         }},
        {QStringLiteral("SetBeacon"),
         [&core](Call& call) {
             core.setBeacon(call.arg(0).toString(), call.arg(1).toString());
             call.answer();
         }},
    };
}

QHash<QString, Handler> mapHandlers(HostCore& core) {
    const auto setter = [&core](void (HostCore::*set)(qint64)) {
        return [&core, set](Call& call) {
            (core.*set)(call.arg(0).toLongLong());
            call.answer();
        };
    };
    return {
        {QStringLiteral("SetDrawWidth"), setter(&HostCore::setDrawWidth)},
        {QStringLiteral("SetDrawStyle"), setter(&HostCore::setDrawStyle)},
        {QStringLiteral("SetFillColor"), setter(&HostCore::setFillColor)},
        {QStringLiteral("ScaleHeight"),
         [&core](Call& call) {
             const double height = core.scaleHeight();
             call.answer({height}, height);
         }},
        {QStringLiteral("PixelHeight"),
         [&core](Call& call) {
             const qint16 height = core.pixelHeight();
             call.answer({QVariant::fromValue(height)}, height);
         }},
        // Our own block form of the three settings and DrawCircle, for the station rings of a
        // walk's block: drawn in order up to the first the tracker refuses, whose index is the
        // answer (-1: all drawn).
        {QStringLiteral("DrawCircles"),
         [&core](Call& call) {
             const auto x = qdbus_cast<QList<double>>(call.arg(3));
             const auto y = qdbus_cast<QList<double>>(call.arg(4));
             const auto radius = qdbus_cast<QList<double>>(call.arg(5));
             const auto colour = qdbus_cast<QList<qint32>>(call.arg(6));
             const auto start = qdbus_cast<QList<double>>(call.arg(7));
             const auto end = qdbus_cast<QList<double>>(call.arg(8));
             const auto aspect = qdbus_cast<QList<double>>(call.arg(9));
             const qsizetype n = x.size();
             for (const qsizetype size :
                  {y.size(), radius.size(), colour.size(), start.size(), end.size(), aspect.size()})
                 if (size != n)
                     throw CallRefused(QStringLiteral("DrawCircles needs arrays of one length"));
             qint32 refused = -1;
             for (qsizetype i = 0; i < n && refused < 0; ++i) {
                 try {
                     core.setDrawWidth(call.arg(0).toLongLong());
                     core.setDrawStyle(call.arg(1).toLongLong());
                     core.setFillColor(call.arg(2).toLongLong());
                     core.drawCircle(x.at(i), y.at(i), radius.at(i), colour.at(i), start.at(i),
                                     end.at(i), aspect.at(i));
                 } catch (const CallRefused&) {
                     refused = qint32(i);
                 }
             }
             call.answer({refused}, refused);
         }},
        {QStringLiteral("DrawCircle"),
         [&core](Call& call) {
             core.drawCircle(call.arg(0).toDouble(), call.arg(1).toDouble(), call.arg(2).toDouble(),
                             call.arg(3).toLongLong(), call.arg(4).toDouble(),
                             call.arg(5).toDouble(), call.arg(6).toDouble());
             call.answer();
         }},
    };
}

// The journal's names: the properties' own names without the setter's "Set", and the
// property EventsEnabled for SetEventsEnabled; SetBeacon keeps its name.
QString journalName(const QString& member) {
    if (member == QLatin1String("SetEventsEnabled"))
        return QStringLiteral("EventsEnabled");
    if (member == QLatin1String("SetBeacon"))
        return member;
    return member.startsWith(QLatin1String("Set")) ? member.mid(3) : member;
}

} // namespace

// One of the tracker's objects: its interface and the handlers of its methods.
class HostBus::BusObject final : public QDBusVirtualObject {
public:
    BusObject(QString interface, QHash<QString, Handler> handlers, Journal& journal)
        : m_interface(std::move(interface)), m_handlers(std::move(handlers)), m_journal(journal) {}

    QString introspect(const QString&) const override { return busInterfaceXml(m_interface); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.type() != QDBusMessage::MethodCallMessage ||
            (!message.interface().isEmpty() && message.interface() != m_interface))
            return false;
        const auto handler = m_handlers.constFind(message.member());
        if (handler == m_handlers.constEnd())
            return false;
        Call call(message, connection, m_journal, journalName(message.member()), m_interface);
        try {
            if (call.expect())
                (*handler)(call);
        } catch (const CallRefused& refused) {
            call.refuse(refused);
        }
        return true;
    }

private:
    QString m_interface;
    QHash<QString, Handler> m_handlers;
    Journal& m_journal;
};

HostBus::HostBus(HostCore& core, Journal& journal, QDBusConnection connection, QObject* parent)
    : QObject(parent), m_core(core), m_journal(journal), m_connection(std::move(connection)),
      m_application(std::make_unique<BusObject>(kestrelbus::applicationInterface(),
                                                applicationHandlers(core), journal)),
      m_map(std::make_unique<BusObject>(kestrelbus::mapInterface(), mapHandlers(core), journal)) {
    connect(&m_core, &HostCore::hostEvent, this, &HostBus::sendEvent);
}

HostBus::~HostBus() {
    stop();
    m_connection.unregisterObject(kestrelbus::applicationPath());
    m_connection.unregisterObject(kestrelbus::mapPath());
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
    if (!m_connection.registerVirtualObject(kestrelbus::applicationPath(), m_application.get()) ||
        !m_connection.registerVirtualObject(kestrelbus::mapPath(), m_map.get()))
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
