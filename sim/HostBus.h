#pragma once

#include <memory>

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QObject>

class HostCore;
class Journal;

// Serves the tracker's application and map objects on a bus connection: checks each
// call's signature, hands it to the core, journals it and answers; sends the core's events
// as signals. Calls with wrong arguments get a D-Bus error, never reach the core.
class HostBus final : public QObject {
    Q_OBJECT
public:
    HostBus(HostCore& core, Journal& journal, QDBusConnection connection,
            QObject* parent = nullptr);
    ~HostBus() override;
    Q_DISABLE_COPY_MOVE(HostBus)

    // Registers the objects and checks that the service name is free, so that a second
    // tracker stops before it touches any file; false with `error` set otherwise.
    bool prepare(QString* error);
    // Takes the service name: from now on add-ons find the tracker. False with `error` set
    // when the name is taken.
    bool start(QString* error);
    // Leaves the bus after every signal sent so far has reached the bus daemon.
    void stop();

private:
    void sendEvent(const QString& name, const QVariantList& args);

    class BusObject;

    HostCore& m_core;
    Journal& m_journal;
    QDBusConnection m_connection;
    std::unique_ptr<BusObject> m_application;
    std::unique_ptr<BusObject> m_map;
    bool m_started = false;
};
