#include "MainWindowFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

void MainWindowFixture::SetUp() {
    ASSERT_TRUE(m_program.isValid() && m_hostFolder.isValid() && m_config.isValid());
    m_oldConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    // QSettings keeps the user folder it found first; each test gets a store of its own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    m_oldShower = setMessageBoxShower([this](const MessageBoxRequest& r) { shown.push_back(r); });
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

void MainWindowFixture::TearDown() {
    // Destroying the window without closing it writes nothing: tests check files themselves.
    form.reset();
    lock.reset();
    setMessageBoxShower(m_oldShower);
    setProcessEnder(m_oldEnder);
    if (m_oldConfigHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
}

void MainWindowFixture::installHost(const QString& callsign, bool withTrailingSlash) {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brightmoor"),
                    QStringLiteral("Kestrel32"));
    store.setValue(QStringLiteral("Program Folder"),
                   hostFolder() + (withTrailingSlash ? QStringLiteral("/") : QString()));
    store.sync();
    QByteArray ini = "[STATION]\r\n";
    if (!callsign.isNull())
        ini += "CALLSIGN=" + callsign.toLatin1() + "\r\n";
    writeAll(QDir(hostFolder()).filePath(QStringLiteral("kestrel32.ini")), ini);
}

void MainWindowFixture::start() {
    form = std::make_unique<frmMain>();
    lock = Form_Load(*form, env);
}

void MainWindowFixture::startExpectingEnd(int expectedCode) {
    try {
        start();
        FAIL() << "start-up went on where it should have ended the process";
    } catch (const ProcessEnded& ended) {
        EXPECT_EQ(ended.code, expectedCode);
    }
}

QByteArray MainWindowFixture::readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void MainWindowFixture::writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
