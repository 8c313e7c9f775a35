#pragma once

#include <stdexcept>

#include <QString>

// A call on the host failed: the host is gone, refused the call or answered nonsense.
// Every layer that talks to the host raises this one type, so callers trap one thing.
class HostError : public std::runtime_error {
public:
    explicit HostError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};
