#include "SetupRules.h"

#include <cmath>

#include <QRegularExpression>
#include <QStringList>

#include "Geo.h"
#include "feed/AprsText.h"
#include "feed/HostPort.h"

namespace setup {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isCapitalOrDigit(QChar c) {
    return isDigit(c) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// A number with "." as the decimal point, nothing else on the text.
bool readDecimal(const QString& text, double& value) {
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!number.match(text).hasMatch())
        return false;
    value = text.toDouble();
    return std::isfinite(value);
}

} // namespace

QString callsignProblem(const QString& text) {
    if (text.isEmpty())
        return QStringLiteral("Enter your callsign, for example G0ABC or G0ABC-9.");
    if (text != text.toUpper())
        return QStringLiteral("Use capital letters: %1.").arg(text.toUpper());
    const QStringList parts = text.split(QLatin1Char('-'));
    if (parts.size() > 2 || !std::all_of(parts[0].begin(), parts[0].end(), isCapitalOrDigit) ||
        !std::all_of(parts.back().begin(), parts.back().end(), isCapitalOrDigit))
        return QStringLiteral("A callsign holds letters and digits, with an optional -SSID.");
    if (parts[0].isEmpty() || parts[0].size() > 6)
        return QStringLiteral("The callsign before the SSID has 1 to 6 letters and digits.");
    if (parts.size() == 2) {
        bool ok = false;
        const int ssid = parts[1].toInt(&ok);
        if (!ok || ssid < 1 || ssid > 15 || !std::all_of(parts[1].begin(), parts[1].end(), isDigit))
            return QStringLiteral("The SSID after \"-\" is a number from 1 to 15.");
    }
    // The tracker keeps at most nine characters of a name; 6 + "-15" is that.
    if (!feed::isStorableName(text))
        return QStringLiteral("A callsign has at most 9 characters.");
    return {};
}

QString loginProblem(const QString& text) {
    if (text.isEmpty())
        return QStringLiteral("Enter the callsign to log in with.");
    if (text.size() > 9 || !feed::isLoginCallsign(text))
        return QStringLiteral("A login has 1 to 9 letters, digits and \"-\".");
    return {};
}

QString passcodeProblem(const QString& text) {
    if (text.isEmpty())
        return {};
    bool ok = false;
    const int code = text.toInt(&ok);
    if (!ok || code < 0 || code > 32767 || !std::all_of(text.begin(), text.end(), isDigit))
        return QStringLiteral("The passcode is a number from 0 to 32767; leave it empty to "
                              "receive only.");
    return {};
}

QString addressProblem(const QString& text, quint16 defaultPort, QString* normalised) {
    QString address = text.trimmed();
    if (address.isEmpty())
        return QStringLiteral("Enter HOST:PORT, for example 127.0.0.1:%1.")
            .arg(defaultPort ? defaultPort : 8001);
    const bool bareIpv6 = address.count(QLatin1Char(':')) > 1 && !address.startsWith(u'[');
    const bool noPort =
        address.startsWith(u'[') ? address.endsWith(u']') : !address.contains(QLatin1Char(':'));
    if (defaultPort != 0 && noPort)
        address += QLatin1Char(':') + QString::number(defaultPort);
    QString host;
    quint16 port = 0;
    if (!feed::parseHostPort(address, host, port)) {
        const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
        const QString digits = address.mid(colon + 1);
        const bool portReads = std::all_of(digits.begin(), digits.end(), isDigit) &&
                               !digits.isEmpty() && digits.toUInt() >= 1 &&
                               digits.toUInt() <= 65535;
        if (colon > 0 && !bareIpv6 && !portReads)
            return QStringLiteral("The port after \":\" is a number from 1 to 65535.");
        return QStringLiteral("Enter HOST:PORT, for example 127.0.0.1:%1.")
            .arg(defaultPort ? defaultPort : 8001);
    }
    if (normalised)
        *normalised = address;
    return {};
}

QString coordinateProblem(const QString& given, Axis axis, double* degrees) {
    const bool latitude = axis == Axis::Latitude;
    const double limit = latitude ? 90.0 : 180.0;
    const QString positive = latitude ? QStringLiteral("N") : QStringLiteral("E");
    const QString negative = latitude ? QStringLiteral("S") : QStringLiteral("W");
    const QString example =
        latitude ? QStringLiteral("52.0583 or 52 03.50 N") : QStringLiteral("-1.0833 or 1 05.00 W");
    const QString usage = QStringLiteral("Enter degrees (%1).").arg(example);

    QString text = given.trimmed().toUpper();
    if (text.isEmpty())
        return usage;
    if (text.contains(QLatin1Char(',')))
        return QStringLiteral("Use \".\" as the decimal point (%1).").arg(example);
    int sign = 1;
    bool hemisphere = false;
    for (const QString& letter : {positive, negative}) {
        if (text.startsWith(letter) || text.endsWith(letter)) {
            text = text.startsWith(letter) ? text.mid(1) : text.chopped(1);
            sign = letter == negative ? -1 : 1;
            hemisphere = true;
            break;
        }
    }
    for (const QChar mark : {QChar(0x00B0), QChar(u'\''), QChar(0x2032), QChar(u'"')})
        text.replace(mark, QLatin1Char(' '));
    const QStringList parts = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.size() > 2)
        return usage;
    if (hemisphere && (parts[0].startsWith(u'-') || parts[0].startsWith(u'+')))
        return QStringLiteral("Give either a sign or %1/%2, not both.").arg(positive, negative);
    double value = 0.0;
    if (!readDecimal(parts[0], value))
        return usage;
    if (parts.size() == 2) {
        double minutes = 0.0;
        if (parts[0].contains(QLatin1Char('.')) || !readDecimal(parts[1], minutes) ||
            parts[1].startsWith(u'-') || parts[1].startsWith(u'+'))
            return usage;
        if (minutes >= 60.0)
            return QStringLiteral("Minutes go from 0 to 59.999.");
        value = value < 0 || parts[0].startsWith(u'-') ? value - minutes / 60.0
                                                       : value + minutes / 60.0;
    }
    value *= sign;
    if (std::abs(value) > limit)
        return latitude ? QStringLiteral("A latitude lies between 90 S and 90 N.")
                        : QStringLiteral("A longitude lies between 180 W and 180 E.");
    if (degrees)
        *degrees = value;
    return {};
}

QString rangeProblem(const QString& text, int* km) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1 || value > 20000)
        return QStringLiteral("The range is a whole number of kilometres from 1 to 20000.");
    if (km)
        *km = value;
    return {};
}

QString expiryProblem(const QString& text, double* minutes) {
    double value = 0.0;
    if (!readDecimal(text.trimmed(), value) || value <= 0.0 || value > 1e7)
        return QStringLiteral("Give the minutes after which unheard stations leave (more than "
                              "0).");
    if (minutes)
        *minutes = value;
    return {};
}

QString unitProblem(const QString& text) {
    DistanceUnit unit{};
    if (!geo::parseUnit(text.trimmed(), unit))
        return QStringLiteral("The distance unit is km, mi or nm.");
    return {};
}

} // namespace setup
