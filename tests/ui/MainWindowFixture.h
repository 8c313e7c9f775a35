#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QByteArray>
#include <QLockFile>
#include <QString>
#include <QTemporaryDir>

#include "FakeKestrelHost.h"
#include "app/Startup.h"
#include "support/MessageBoxSeam.h"
#include "ui/frmMain.h"

// Thrown by the process-end seam: the test sees where the program would have ended.
struct ProcessEnded {
    int code;
};

// A main window started against fake hosts, in temporary folders with a settings store of
// its own; every box is recorded instead of shown.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the host's folder record and its kestrel32.ini with the given callsign
    // (none: no key).
    void installHost(const QString& callsign, bool withTrailingSlash = true);
    // Creates the window and runs its load handler; a ProcessEnded escapes.
    void start();
    void startExpectingEnd(int expectedCode);

    QString programFolder() const { return m_program.path(); }
    QString hostFolder() const { return m_hostFolder.path(); }
    QString configFolder() const { return m_config.path(); }
    QString iniFile() const { return m_program.filePath(QStringLiteral("Ringwarden.INI")); }
    QString listFile() const { return m_program.filePath(QStringLiteral("Ringwarden.LST")); }
    static QByteArray readAll(const QString& path);
    static void writeAll(const QString& path, const QByteArray& bytes);

    std::unique_ptr<frmMain> form;
    std::unique_ptr<QLockFile> lock;
    StartupEnvironment env;
    std::vector<MessageBoxRequest> shown;
    // The hosts created by start-up, in order: [0] mKestrel, [1] gKestrel.
    std::vector<FakeKestrelHost*> hosts;
    // Stations that every created host knows.
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
