#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "FakeKestrelHost.h"
#include "TestFiles.h"
#include "app/RingwardenApp.h"
#include "support/MessageBoxSeam.h"

// Thrown by the process-end seam: the test sees where the program would have ended.
struct ProcessEnded {
    int code;
};

// The program started in-process against fake hosts, in temporary folders with a settings
// store of its own; every box is recorded (and duringBox run) instead of shown.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the host's folder record and its kestrel32.ini (a null callsign: no key).
    void installHost(const QString& callsign);
    // A new program object in place of the previous one.
    void start();
    // start(), expecting the process to end with `code`.
    void startExpectingEnd(int code);
    // Runs `action`, expecting it to end the process with `code`.
    void expectEnd(const std::function<void()>& action, int code);
    // Triggers a menu item of the main window by its object name.
    void trigger(const char* action);

    QString hostFolder() const { return m_hostFolder.path(); }
    QString iniFile() const { return m_program.filePath(QStringLiteral("Ringwarden.INI")); }
    QString listFile() const { return m_program.filePath(QStringLiteral("Ringwarden.LST")); }
    static void writeAll(const QString& path, const QByteArray& bytes) {
        ASSERT_TRUE(putFile(path, bytes)) << path.toStdString();
    }

    std::unique_ptr<RingwardenApp> app;
    StartupEnvironment env;
    QStringList shown;
    std::function<void()> duringBox;
    // The hosts created by start-up, in order: [0] reaches the map, [1] delivers events.
    std::vector<FakeKestrelHost*> hosts;
    std::function<void(FakeKestrelHost&)> scriptHost;

private:
    QTemporaryDir m_program;
    QTemporaryDir m_hostFolder;
    QTemporaryDir m_config;
    QTemporaryDir m_runtime;
    QByteArray m_oldConfigHome;
    MessageBoxShower m_oldShower;
    ProcessEnder m_oldEnder;
};
