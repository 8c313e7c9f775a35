#include "HostBusObject.h"

#include <algorithm>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>

#include "HostCore.h"
#include "Journal.h"
#include "host/dbus/KestrelBusNames.h"

namespace {

// A call's argument as the journal writes it.
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

// Far below the bus's message limit (128 MiB by default), so that no answer of entries is
// refused by the bus, which would drop the tracker from it; small enough that one answer
// does not hold the tracker's window for long.
constexpr qint64 kAnswerBudget = 256 * 1024;

} // namespace

QJsonArray hostEventJson(const QVariantList& args) {
    QJsonArray array;
    for (const QVariant& arg : args)
        array.append(toJson(arg));
    return array;
}

HostBusObject::HostBusObject(HostCore& core, Journal& journal, QObject* parent)
    : QObject(parent), m_core(core), m_journal(journal) {
    qDBusRegisterMetaType<QList<bool>>();
    qDBusRegisterMetaType<QList<double>>();
    qDBusRegisterMetaType<QList<int>>();
}

// The journal's names: the properties' own names without the setter's "Set", and the
// property EventsEnabled for SetEventsEnabled; SetBeacon keeps its name.
QString HostBusObject::journalName() const {
    const QString member = message().member();
    if (member == QLatin1String("SetEventsEnabled"))
        return QStringLiteral("EventsEnabled");
    if (member == QLatin1String("SetBeacon"))
        return member;
    return member.startsWith(QLatin1String("Set")) ? member.mid(3) : member;
}

// Built only while a journal is open: the JSON costs more than most calls.
QJsonArray HostBusObject::journalArgs() const {
    return m_journal.isOpen() ? hostEventJson(message().arguments()) : QJsonArray();
}

bool HostBusObject::serve(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const CallRefused& refused) {
        m_journal.failedCall(journalName(), journalArgs(), refused.message());
        sendErrorReply(kestrelbus::invalidValueError(), refused.message());
        return false;
    }
}

void HostBusObject::answered(const QJsonValue& result) {
    m_journal.call(journalName(), journalArgs(), result);
}

void HostBusObject::answered() {
    answered(QJsonValue(QJsonValue::Undefined));
}

QDBusObjectPath HostBusObject::Map() {
    answered(kestrelbus::mapPath());
    return QDBusObjectPath(kestrelbus::mapPath());
}

short HostBusObject::StationCount() {
    short count = 0;
    if (serve([&] { count = m_core.stationCount(); }))
        answered(count);
    return count;
}

QString HostBusObject::StationListItem(short index) {
    QString text;
    if (serve([&] { text = m_core.stationListItem(index); }))
        answered(text);
    return text;
}

bool HostBusObject::GetStation(const QString& callsign, double& longitude, double& latitude,
                               double& distance) {
    std::optional<StationFix> fix;
    if (!serve([&] { fix = m_core.getStation(callsign); }))
        return false;
    const StationFix f = fix.value_or(StationFix{});
    longitude = f.longitudeMinutes;
    latitude = f.latitudeMinutes;
    distance = f.distance;
    answered(fix.has_value());
    return fix.has_value();
}

// Our own block form of StationListItem, so that a walk over a long list does not pay one
// bus round trip per entry.
QStringList HostBusObject::StationListItems(short first, short count) {
    QStringList texts;
    const bool served = serve([&] {
        if (first < 0)
            throw CallRefused(QStringLiteral("station list index %1 is negative").arg(first));
        if (count < 0)
            throw CallRefused(QStringLiteral("station list count %1 is negative").arg(count));
        const qint64 end = std::min<qint64>(qint64(first) + count, m_core.stationCount());
        texts.reserve(std::max<qint64>(0, end - first));
        // The answer stays within one bus message: past the budget it ends early and the
        // caller asks again from where it ended.
        qint64 bytes = 0;
        for (qint64 i = first; i < end && (texts.isEmpty() || bytes < kAnswerBudget); ++i) {
            texts.append(m_core.stationListItem(i));
            bytes += 8 + 3 * texts.constLast().size(); // UTF-8 at most 3 bytes a char
        }
    });
    if (served)
        answered(m_journal.isOpen() ? QJsonArray::fromStringList(texts)
                                    : QJsonValue(QJsonValue::Undefined));
    return texts;
}

// The block form of GetStation: four arrays, one element a callsign.
QList<bool> HostBusObject::GetStations(const QStringList& callsigns, QList<double>& longitude,
                                       QList<double>& latitude, QList<double>& distance) {
    QList<bool> found;
    const bool served = serve([&] {
        for (QList<double>* list : {&longitude, &latitude, &distance})
            list->reserve(callsigns.size());
        found.reserve(callsigns.size());
        for (const QString& callsign : callsigns) {
            const auto fix = m_core.getStation(callsign);
            const StationFix f = fix.value_or(StationFix{});
            found.append(fix.has_value());
            longitude.append(f.longitudeMinutes);
            latitude.append(f.latitudeMinutes);
            distance.append(f.distance);
        }
    });
    if (served) {
        QJsonArray result;
        if (m_journal.isOpen())
            for (const bool known : found)
                result.append(known);
        answered(result);
    }
    return found;
}

void HostBusObject::SetEventsEnabled(int value) {
    if (serve([&] { m_core.setEventsEnabled(value); }))
        answered();
}

void HostBusObject::AlertStation(const QString& callsign) {
    if (serve([&] { m_core.alertStation(callsign); }))
        answered();
}

void HostBusObject::SetBeacon(const QString& callsign, const QString& comment) {
    if (serve([&] { m_core.setBeacon(callsign, comment); }))
        answered();
}

void HostBusObject::SetDrawWidth(int width) {
    if (serve([&] { m_core.setDrawWidth(width); }))
        answered();
}

void HostBusObject::SetDrawStyle(short style) {
    if (serve([&] { m_core.setDrawStyle(style); }))
        answered();
}

void HostBusObject::SetFillColor(int colour) {
    if (serve([&] { m_core.setFillColor(colour); }))
        answered();
}

double HostBusObject::ScaleHeight() {
    double height = 0;
    if (serve([&] { height = m_core.scaleHeight(); }))
        answered(height);
    return height;
}

short HostBusObject::PixelHeight() {
    short height = 0;
    if (serve([&] { height = m_core.pixelHeight(); }))
        answered(height);
    return height;
}

void HostBusObject::DrawCircle(double x, double y, double radius, int colour, double startAngle,
                               double endAngle, double aspect) {
    if (serve([&] { m_core.drawCircle(x, y, radius, colour, startAngle, endAngle, aspect); }))
        answered();
}

// Our own block form of the three settings and DrawCircle, for the station rings of a walk's
// block: drawn in order up to the first the tracker refuses, whose index is the answer (-1:
// all drawn).
int HostBusObject::DrawCircles(int drawWidth, short drawStyle, int fillColor,
                               const QList<double>& x, const QList<double>& y,
                               const QList<double>& radius, const QList<int>& colour,
                               const QList<double>& startAngle, const QList<double>& endAngle,
                               const QList<double>& aspect) {
    qint32 refused = -1;
    const bool served = serve([&] {
        const qsizetype n = x.size();
        for (const qsizetype size : {y.size(), radius.size(), colour.size(), startAngle.size(),
                                     endAngle.size(), aspect.size()})
            if (size != n)
                throw CallRefused(QStringLiteral("DrawCircles needs arrays of one length"));
        for (qsizetype i = 0; i < n && refused < 0; ++i) {
            try {
                m_core.setDrawWidth(drawWidth);
                m_core.setDrawStyle(drawStyle);
                m_core.setFillColor(fillColor);
                m_core.drawCircle(x.at(i), y.at(i), radius.at(i), colour.at(i), startAngle.at(i),
                                  endAngle.at(i), aspect.at(i));
            } catch (const CallRefused&) {
                refused = qint32(i);
            }
        }
    });
    if (served)
        answered(refused);
    return refused;
}
