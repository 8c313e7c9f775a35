// Guards against a "Test" of the setup window that hangs, lies or runs twice. (The fields'
// refusals and a failed save are TrackerSetupTest's first start.)
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>

#include "HostProcess.h"
#include "LineServer.h"
#include "SetupWindow.h"
#include "feed/KissDeframer.h"

namespace {

// A listener on 127.0.0.1 whose queue is full, so that the next client's SYN is dropped and
// its connect never completes: Qt takes the first client into its pending list and then stops
// accepting; the second waits in the kernel's queue of one (backlog 0).
struct FullQueue {
    QTcpServer server;
    QTcpSocket fillers[2];
    bool fill() {
        server.setListenBacklogSize(0);
        server.setMaxPendingConnections(1);
        if (!server.listen(QHostAddress::LocalHost))
            return false;
        for (QTcpSocket& filler : fillers) {
            filler.connectToHost(QHostAddress::LocalHost, server.serverPort());
            if (!filler.waitForConnected(2000) ||
                !waitUntil([&] { return server.hasPendingConnections(); }))
                return false;
        }
        return true;
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(server.serverPort()); }
};

class Setup : public testing::Test {
protected:
    Setup() { window.show(); }
    template <typename T> T* child(const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(name); }
    QString text(const char* label) { return child<QLabel>(label)->text(); }
    // The result of a Test once it is in.
    QString testResult(const char* label) {
        EXPECT_TRUE(waitUntil([&] { return !text(label).startsWith("Testing"); }, 10000));
        return text(label);
    }

    int applied = 0;
    SetupWindow window{
        SetupWindow::Mode::FirstStart, TrackerConf{}, {}, [this](const TrackerConf&) {
            ++applied;
            return QString();
        }};
};

// What a server answers, and each step it leaves unanswered, is named; a Test pressed twice
// makes one connection, which is hung up; the button works again; nothing is saved.
TEST_F(Setup, testSaysWhatAnsweredAndWhichStepWasNotAnsweredInTime) {
    FullQueue unreachable;
    ASSERT_TRUE(unreachable.fill());
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const QString nobody = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    LineServer aprsIs("# testserver 1.0\r\n", aprsIsLoginAnswer);
    LineServer ssh("SSH-2.0-OpenSSH_9.2\r\n");
    LineServer kiss(feed::kissEncode("not really AX.25 but a frame"));
    LineServer silent;
    LineServer mute("# mute 1.0\r\n");
    window.kissProbe().setWaitMs(500);
    window.aprsIsProbe().setWaitMs(500);
    child<QGroupBox>("kiss")->setChecked(true);
    child<QGroupBox>("aprsIs")->setChecked(true);
    edit("aprsIsLogin")->setText("G4KST-1");

    const struct {
        const char* field;
        QString address;
        const char* passcode;
        const char* words;
    } rows[] = {
        {"aprsIsServer", aprsIs.address(), "",
         "Connected to %1 (testserver 1.0); login G4KST-1 unverified (receive only)."},
        {"aprsIsServer", aprsIs.address(), "12345",
         "Connected to %1 (testserver 1.0); login G4KST-1 verified."},
        {"aprsIsServer", ssh.address(), "",
         "Connected to %1, but it does not answer as an APRS-IS server "
         "(\"SSH-2.0-OpenSSH_9.2\")."},
        {"kissAddress", kiss.address(), "", "Connected to %1: KISS frames arrive."},
        {"kissAddress", nobody, "", "Refused: nothing listens on %1."},
        {"kissAddress", silent.address(), "",
         "Connected to %1, but no KISS frames within 0.5 s (nothing heard yet, or not a KISS "
         "port)."},
        {"aprsIsServer", silent.address(), "",
         "Connected to %1, but the server sent no banner within 0.5 s."},
        {"aprsIsServer", mute.address(), "",
         "Connected to %1 (mute 1.0), but no answer to the login within 0.5 s."},
        {"kissAddress", unreachable.address(), "", "Timed out: no answer from %1 within 0.5 s."}};
    for (const auto& row : rows) {
        const bool isKiss = row.field == QLatin1String("kissAddress");
        const char* label = isKiss ? "kissTestResult" : "aprsIsTestResult";
        edit(row.field)->setText(row.address);
        edit("aprsIsPasscode")->setText(row.passcode);
        QPushButton* button = child<QPushButton>(isKiss ? "kissTest" : "aprsIsTest");
        button->click();
        button->click();
        EXPECT_EQ(testResult(label), QString::fromLatin1(row.words).arg(row.address));
        EXPECT_TRUE(button->isEnabled()) << label;
    }
    EXPECT_TRUE(waitUntil([&] {
        return aprsIs.hangUps == 2 && silent.hangUps == 2 && mute.hangUps == 1;
    })) << aprsIs.hangUps
        << " " << silent.hangUps << " " << mute.hangUps;
    EXPECT_EQ(aprsIs.connections, 2);
    EXPECT_EQ(aprsIs.received, "user G4KST-1 pass -1 vers kestrel32 test\r\n"
                               "user G4KST-1 pass 12345 vers kestrel32 test\r\n");
    EXPECT_EQ(mute.received, "user G4KST-1 pass -1 vers kestrel32 test\r\n");
    EXPECT_EQ(applied, 0) << "a test saves nothing";
}

} // namespace
