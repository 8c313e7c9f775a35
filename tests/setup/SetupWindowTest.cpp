// Guards against the setup window taking what a feed would refuse (or writing anything
// then), losing the operator's entry when a save fails, and a "Test" that hangs, lies or runs
// twice. (The first start as a whole, with a gpsd followed live, is TrackerSetupTest's.)
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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
    Setup() {
        window.show();
        edit("callsign")->setText("G4KST");
        child<QRadioButton>("positionFixed")->setChecked(true);
        edit("latitude")->setText("52 03.50 N");
        edit("longitude")->setText("1 05.00 W");
    }
    template <typename T> T* child(const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(name); }
    QString text(const char* label) { return child<QLabel>(label)->text(); }
    void pressOk() { child<QDialogButtonBox>("buttons")->button(QDialogButtonBox::Ok)->click(); }
    // The result of a Test once it is in.
    QString testResult(const char* label) {
        EXPECT_TRUE(waitUntil([&] { return !text(label).startsWith("Testing"); }, 10000));
        return text(label);
    }

    int applied = 0;
    TrackerConf saved;
    QString saveError;
    SetupWindow window{
        SetupWindow::Mode::FirstStart, TrackerConf{}, {}, [this](const TrackerConf& conf) {
            ++applied;
            saved = conf;
            return saveError;
        }};
};

TEST_F(Setup, aBadFieldIsRefusedBesideItAndOkHandsOverWhatWasTypedOnceAllAreRight) {
    // field, value typed, the group it belongs to (switched on), the label beside it, the
    // message (the rules' own table is SetupRulesTest's: these show the fields are wired)
    const struct {
        const char *field, *value, *group, *label, *message;
    } rows[] = {
        {"callsign", "g4kst", nullptr, "callsignProblem", "Use capital letters: G4KST."},
        {"longitude", "", nullptr, "longitudeProblem", "Enter degrees (-1.0833 or 1 05.00 W)."},
        {"kissAddress", "127.0.0.1:99999", "kiss", "kissAddressProblem",
         "The port after \":\" is a number from 1 to 65535."}};
    for (const auto& r : rows) {
        QLineEdit* field = edit(r.field);
        const QString good = field->text();
        if (r.group)
            child<QGroupBox>(r.group)->setChecked(true);
        field->setText(QString::fromUtf8(r.value));
        pressOk();
        EXPECT_EQ(applied, 0) << r.field;
        EXPECT_TRUE(window.isVisible()) << r.field;
        EXPECT_TRUE(child<QLabel>(r.label)->isVisibleTo(&window)) << r.field;
        EXPECT_EQ(text(r.label).toStdString(), r.message);
        EXPECT_EQ(window.focusWidget(), field) << r.field;
        field->setText(good);
        if (r.group)
            child<QGroupBox>(r.group)->setChecked(false);
    }
    // Right at last, with a save that fails: the window stays open and says why.
    child<QGroupBox>("aprsIs")->setChecked(true);
    edit("aprsIsServer")->setText("127.0.0.1");
    child<QComboBox>("unit")->setCurrentIndex(2);
    saveError = "cannot write /x/kestrel32.conf";
    pressOk();
    EXPECT_EQ(applied, 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(child<QLabel>("callsignProblem")->isVisibleTo(&window));
    EXPECT_EQ(text("saveProblem"), saveError);
    saveError.clear();
    pressOk();
    EXPECT_EQ(applied, 2);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(saved.aprsIs, "127.0.0.1:14580");
    EXPECT_EQ(saved.unit, "nm");
}

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
        QLabel* result = child<QLabel>(label);
        EXPECT_TRUE(waitUntil([&] {
            return result->height() >= result->heightForWidth(result->width());
        })) << "the result is shown whole, not cut to the lines the window had room for";
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
