#pragma once

#include <QString>

namespace feed {

// Splits "HOST:PORT" (or "[IPv6]:PORT") as given on a command line. False for a missing
// host, a port that is not a number from 1 to 65535, or anything after the port.
bool parseHostPort(const QString& text, QString& host, quint16& port);

} // namespace feed
