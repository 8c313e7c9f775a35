#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include "FakeKestrelHost.h"
#include "TestFiles.h"
#include "app/RingwardenApp.h"
#include "engine/SoundPlayer.h"
#include "support/MessageBoxSeam.h"
#include "ui/frmMain.h"

// Thrown by the process-end seam: the test sees where the program would have ended.
struct ProcessEnded {
    int code;
};

// The program started in-process against fake hosts, in temporary folders with a settings
// store of its own; every box is recorded (and duringBox run) instead of shown.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_program.isValid() && m_hostFolder.isValid() && m_config.isValid());
        // QSettings keeps the user folder it found first; each test gets a store of its own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
        m_oldShower = setMessageBoxShower([this](const MessageBoxRequest& box) {
            shown << box.text;
            if (duringBox)
                duringBox();
        });
        m_oldEnder = setProcessEnder([](int code) { throw ProcessEnded{code}; });
        env.executablePath = m_program.filePath(QStringLiteral("Ringwarden"));
        env.fallbackConfigFolder = m_config.filePath(QStringLiteral("Ringwarden"));
        env.lockFolder = m_runtime.path();
        env.createHost = [this]() -> std::unique_ptr<KestrelHost> {
            auto host = std::make_unique<FakeKestrelHost>();
            if (scriptHost)
                scriptHost(*host);
            hosts.push_back(host.get());
            return host;
        };
    }
    void TearDown() override {
        // Destroying the program without closing it writes nothing: tests check files.
        app.reset();
        setMessageBoxShower(m_oldShower);
        setProcessEnder(m_oldEnder);
    }

    // Writes the host's folder record and its kestrel32.ini (a null callsign: no key).
    void installHost(const QString& callsign) {
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brightmoor"),
                        QStringLiteral("Kestrel32"));
        store.setValue(QStringLiteral("Program Folder"), m_hostFolder.path() + QLatin1Char('/'));
        store.sync();
        QByteArray ini = "[STATION]\r\n";
        if (!callsign.isNull())
            ini += "CALLSIGN=" + callsign.toLatin1() + "\r\n";
        writeAll(QDir(m_hostFolder.path()).filePath(QStringLiteral("kestrel32.ini")), ini);
    }
    // A new program object in place of the previous one.
    void start() {
        app.reset();
        hosts.clear();
        app = std::make_unique<RingwardenApp>(env, nullptr); // no player: the engine plays nothing
        app->start();
        // What the event loop runs next: the events that came meanwhile, then the rest of the
        // start-up (a process end it reaches comes back here, not through the event loop).
        QCoreApplication::sendPostedEvents();
        app->finishStartup();
    }
    // Runs `action`, expecting it to end the process with `code`.
    void expectEnd(const std::function<void()>& action, int code) {
        try {
            action();
            ADD_FAILURE() << "the program went on where it should have ended";
        } catch (const ProcessEnded& ended) {
            EXPECT_EQ(ended.code, code);
        }
    }
    // Triggers a menu item of the main window by its object name.
    void trigger(const char* action) {
        QAction* item = app->window()->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(item, nullptr) << action;
        item->trigger();
    }

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
    MessageBoxShower m_oldShower;
    ProcessEnder m_oldEnder;
};
