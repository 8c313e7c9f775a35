// The main of every test program: a QApplication on the offscreen platform (also at
// test discovery time, when CTest's environment is not yet applied), in a home of its own.
#include <cstdio>
#include <utility>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Points HOME and the XDG folders into `home` before anything reads them, so that no test,
// no program it starts and no daemon it wakes (speech-dispatcher keeps its logs in the
// runtime folder) reads or writes the operator's settings, data or runtime files.
bool moveInto(const QTemporaryDir& home) {
    if (!home.isValid())
        return false;
    const std::pair<const char*, const char*> folders[] = {{"HOME", ""},
                                                           {"XDG_CONFIG_HOME", "/.config"},
                                                           {"XDG_DATA_HOME", "/.local/share"},
                                                           {"XDG_CACHE_HOME", "/.cache"},
                                                           {"XDG_STATE_HOME", "/.local/state"},
                                                           {"XDG_RUNTIME_DIR", "/runtime"}};
    for (const auto& [name, folder] : folders) {
        const QString path = home.path() + QLatin1String(folder);
        if (!QDir().mkpath(path))
            return false;
        qputenv(name, QFile::encodeName(path));
    }
    // Qt takes a runtime folder only when its owner alone may enter it.
    return QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir home(QDir::tempPath() + QStringLiteral("/ringwarden-test-XXXXXX"));
    if (!moveInto(home)) {
        std::fprintf(stderr, "cannot make a home for the tests in %s\n",
                     qPrintable(QDir::tempPath()));
        return 1;
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
