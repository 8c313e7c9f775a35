#include "host/dbus/KestrelBusContract.h"

#include <QHash>
#include <QXmlStreamReader>

#include "KestrelBusXml.h"

namespace {

struct Contract {
    QHash<QString, BusMethod> methods; // by "interface.method"
    QHash<QString, QString> signals_;  // by "interface.signal": the argument types
    QHash<QString, QString> interfaceXml;
};

QString elementText(const QString& xml, qint64 from, [[maybe_unused]] const QString& interface) {
    const qsizetype start = xml.lastIndexOf(QStringLiteral("<interface"), from);
    const qsizetype end = xml.indexOf(QStringLiteral("</interface>"), start);
    Q_ASSERT_X(start >= 0 && end > start, "busInterfaceXml", qPrintable(interface));
    return xml.mid(start, end - start + 12) + QLatin1Char('\n');
}

Contract read() {
    Contract contract;
    const QString xml = QString::fromUtf8(kKestrelBusXml);
    QXmlStreamReader reader(xml);
    QString interface;
    QString method;
    QString signal;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const auto attribute = [&](const char* name) {
            return reader.attributes().value(QLatin1String(name)).toString();
        };
        if (reader.name() == QLatin1String("interface")) {
            interface = attribute("name");
            signal.clear();
            contract.interfaceXml.insert(interface,
                                         elementText(xml, reader.characterOffset(), interface));
            method.clear();
        } else if (reader.name() == QLatin1String("method")) {
            method = interface + QLatin1Char('.') + attribute("name");
            signal.clear();
            contract.methods.insert(method, {});
        } else if (reader.name() == QLatin1String("signal")) {
            method.clear();
            signal = interface + QLatin1Char('.') + attribute("name");
            contract.signals_.insert(signal, {});
        } else if (reader.name() == QLatin1String("arg") && !signal.isEmpty()) {
            contract.signals_[signal] += attribute("type");
        } else if (reader.name() == QLatin1String("arg") && !method.isEmpty()) {
            BusMethod& m = contract.methods[method];
            (attribute("direction") == QLatin1String("out") ? m.outSignature : m.inSignature) +=
                attribute("type");
        }
    }
    Q_ASSERT_X(!reader.hasError(), "KestrelBusContract", qPrintable(reader.errorString()));
    return contract;
}

const Contract& contract() {
    static const Contract instance = read();
    return instance;
}

} // namespace

const BusMethod* busMethod(const QString& interface, const QString& method) {
    const auto found = contract().methods.constFind(interface + QLatin1Char('.') + method);
    return found == contract().methods.cend() ? nullptr : &found.value();
}

std::optional<QString> busSignalSignature(const QString& interface, const QString& signal) {
    const auto found = contract().signals_.constFind(interface + QLatin1Char('.') + signal);
    if (found == contract().signals_.cend())
        return std::nullopt;
    return found.value();
}

QString busInterfaceXml(const QString& interface) {
    return contract().interfaceXml.value(interface);
}
