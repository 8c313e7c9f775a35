#include "AppFixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include "engine/SoundPlayer.h"
#include "ui/frmMain.h"

void AppFixture::SetUp() {
    ASSERT_TRUE(m_program.isValid() && m_hostFolder.isValid() && m_config.isValid());
    m_oldConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
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

void AppFixture::TearDown() {
    // Destroying the program without closing it writes nothing: tests check files themselves.
    app.reset();
    setMessageBoxShower(m_oldShower);
    setProcessEnder(m_oldEnder);
    if (m_oldConfigHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
}

void AppFixture::installHost(const QString& callsign) {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brightmoor"),
                    QStringLiteral("Kestrel32"));
    store.setValue(QStringLiteral("Program Folder"), m_hostFolder.path() + QLatin1Char('/'));
    store.sync();
    QByteArray ini = "[STATION]\r\n";
    if (!callsign.isNull())
        ini += "CALLSIGN=" + callsign.toLatin1() + "\r\n";
    writeAll(QDir(m_hostFolder.path()).filePath(QStringLiteral("kestrel32.ini")), ini);
}

void AppFixture::start() {
    app.reset();
    hosts.clear();
    app = std::make_unique<RingwardenApp>(env, nullptr); // no player: the engine plays nothing
    app->start();
    // What the event loop runs next: the events that came meanwhile, then the rest of the
    // start-up (a process end it reaches comes back here, not through the event loop).
    QCoreApplication::sendPostedEvents();
    app->finishStartup();
}

void AppFixture::startExpectingEnd(int code) {
    expectEnd([this] { start(); }, code);
}

void AppFixture::expectEnd(const std::function<void()>& action, int code) {
    try {
        action();
        ADD_FAILURE() << "the program went on where it should have ended";
    } catch (const ProcessEnded& ended) {
        EXPECT_EQ(ended.code, code);
    }
}

void AppFixture::trigger(const char* action) {
    QAction* item = app->window()->findChild<QAction*>(QString::fromLatin1(action));
    ASSERT_NE(item, nullptr) << action;
    item->trigger();
}
