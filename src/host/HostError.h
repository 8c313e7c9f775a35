#pragma once

#include <stdexcept>

#include <QString>

// A call on the host failed. Every layer that talks to the host raises this one type, so
// callers trap one thing; the kind tells the operator whether the tracker is gone or only
// refused what it was asked.
class HostError : public std::runtime_error {
public:
    enum class Kind { Unreachable, Refused };

    explicit HostError(const QString& message, Kind kind = Kind::Unreachable)
        : std::runtime_error(message.toStdString()), m_kind(kind) {}
    QString message() const { return QString::fromStdString(what()); }
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};
