#pragma once

#include <optional>

#include <QString>

// The bus contract (net.brightmoor.Kestrel32.xml, compiled in): what a method takes and
// answers, and an interface's introspection text. Client and stand-in both read it, so the
// two cannot drift apart.
struct BusMethod {
    QString inSignature;  // the in arguments' types, concatenated ("nn")
    QString outSignature; // the out arguments' types ("bddd")
};

// The method of the interface; nullptr when the contract has none of that name.
const BusMethod* busMethod(const QString& interface, const QString& method);
// The argument types of the interface's signal, concatenated; std::nullopt when the
// contract has no signal of that name.
std::optional<QString> busSignalSignature(const QString& interface, const QString& signal);
// The interface's element of the contract, as introspection hands it out.
QString busInterfaceXml(const QString& interface);
