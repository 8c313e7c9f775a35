#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// A kestrel32 process started by a test: its own program folder, settings home and journal
// in a temporary folder, offscreen, on the test's session bus.
class HostProcess final {
public:
    HostProcess();
    ~HostProcess();

    QString dir() const { return m_dir.path(); }
    QString folder() const { return m_dir.path() + QStringLiteral("/Kestrel32"); }
    QString journalPath() const { return m_dir.path() + QStringLiteral("/journal.jsonl"); }
    // Environment the tracker runs with (its own XDG folders and HOME).
    QProcessEnvironment environment() const;

    // Writes `json` as the scenario file and returns its path.
    QString writeScenario(const QByteArray& json, const QString& name = "scenario.json");

    // Starts the tracker with scenario, folder and journal plus `extra` arguments, and
    // waits until it owns the bus name. False when it did not get there.
    bool start(const QByteArray& scenarioJson, const QStringList& extra = {});
    // Runs kestrel32 with exactly `arguments` to its end; returns the exit code.
    int runToEnd(const QStringList& arguments, QString* standardError = nullptr);
    // Asks it to close (SIGTERM) and waits for the end.
    bool stop();
    QProcess& process() { return m_process; }

    // The journal lines written so far (with `key` given, those whose key equals `name`).
    QList<QJsonObject> journal(const QString& key = {}, const QString& name = {}) const;
    QList<QJsonObject> calls(const QString& name) const { return journal("call", name); }
    QList<QJsonObject> events(const QString& name) const { return journal("event", name); }

    static QString program();
    // Waits until the tracker's name is (or is no longer) on the bus.
    static bool waitForBusName(bool present, int ms = 10000);

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

// Runs the event loop until `done` returns true or `ms` pass.
template <typename Predicate> bool waitUntil(Predicate done, int ms = 10000) {
    return QTest::qWaitFor(done, ms);
}
