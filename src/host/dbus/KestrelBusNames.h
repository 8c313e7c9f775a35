#pragma once

#include <QString>

// Where the tracker serves its automation objects on the session bus. Ringwarden's client
// and the stand-in tracker both use these names; docs/dbus-interface.md describes them.
namespace kestrelbus {

inline QString serviceName() {
    return QStringLiteral("net.brightmoor.Kestrel32");
}
inline QString applicationPath() {
    return QStringLiteral("/net/brightmoor/Kestrel32");
}
inline QString applicationInterface() {
    return QStringLiteral("net.brightmoor.Kestrel32.Application");
}
inline QString mapPath() {
    return QStringLiteral("/net/brightmoor/Kestrel32/Map");
}
inline QString mapInterface() {
    return QStringLiteral("net.brightmoor.Kestrel32.Map");
}
// Error name of a call the tracker refuses (a value out of range, a bad argument).
inline QString invalidValueError() {
    return QStringLiteral("net.brightmoor.Kestrel32.Error.InvalidValue");
}

} // namespace kestrelbus
