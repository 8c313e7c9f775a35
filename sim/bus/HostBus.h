#pragma once

#include <memory>

#include <QDBusConnection>
#include <QObject>

class ApplicationAdaptor;
class HostBusObject;
class HostCore;
class Journal;

// Serves the tracker's application and map objects on a bus connection, each behind the
// adaptor generated from net.brightmoor.Kestrel32.xml (see HostBusObject), and sends the
// core's events as the application adaptor's signals. A call whose arguments are not the
// contract's matches no method: the bus library answers UnknownMethod, the core never sees it.
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

    HostCore& m_core;
    Journal& m_journal;
    QDBusConnection m_connection;
    std::unique_ptr<HostBusObject> m_application;
    std::unique_ptr<HostBusObject> m_map;
    ApplicationAdaptor* m_applicationAdaptor; // owned by m_application
    bool m_started = false;
};
