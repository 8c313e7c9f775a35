// Guards against the setup window taking what a feed would refuse (or writing anything
// then), losing the operator's entry when a save fails, a "Test" that hangs, lies or runs
// twice, and a gpsd that is not followed live.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "HostProcess.h"
#include "LineServer.h"
#include "SetupWindow.h"
#include "feed/KissDeframer.h"

namespace {

// A listener on 127.0.0.1 that never accepts, its one place in the queue taken by a client of
// its own: the kernel drops the next client's SYN, so that client's connect never completes.
class FullQueue final {
public:
    FullQueue() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        m_filler = ::socket(AF_INET, SOCK_STREAM, 0);
        const auto* any = reinterpret_cast<sockaddr*>(&address);
        m_ready = ::bind(m_listener, any, size) == 0 && ::listen(m_listener, 0) == 0 &&
                  ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) == 0 &&
                  ::connect(m_filler, any, size) == 0;
        m_port = ntohs(address.sin_port);
    }
    ~FullQueue() {
        ::close(m_filler);
        ::close(m_listener);
    }
    FullQueue(const FullQueue&) = delete;
    FullQueue& operator=(const FullQueue&) = delete;

    bool ready() const { return m_ready; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

private:
    int m_listener = -1;
    int m_filler = -1;
    quint16 m_port = 0;
    bool m_ready = false;
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

// field, value typed, the group it belongs to (switched on), the label beside it, the message
struct Refusal {
    const char* field;
    const char* value;
    const char* group;
    const char* label;
    const char* message;
};

TEST_F(Setup, aBadFieldIsRefusedBesideItAndNothingIsSaved) {
    for (const Refusal& r : std::vector<Refusal>{
             {"callsign", "g4kst", nullptr, "callsignProblem", "Use capital letters: G4KST."},
             {"latitude", "91", nullptr, "latitudeProblem",
              "A latitude lies between 90 S and 90 N."},
             {"longitude", "", nullptr, "longitudeProblem",
              "Enter degrees (-1.0833 or 1 05.00 W)."},
             {"aprsIsServer", "127.0.0.1:0", "aprsIs", "aprsIsServerProblem",
              "The port after \":\" is a number from 1 to 65535."},
             {"aprsIsPasscode", "abc", "aprsIs", "aprsIsPasscodeProblem",
              "The passcode is a number from 0 to 32767; leave it empty to receive only."},
             {"kissAddress", "127.0.0.1:99999", "kiss", "kissAddressProblem",
              "The port after \":\" is a number from 1 to 65535."},
             {"expire", "0", nullptr, "expireProblem",
              "Give the minutes after which unheard stations leave (more than 0)."}}) {
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
    pressOk();
    EXPECT_EQ(applied, 1);
    EXPECT_FALSE(child<QLabel>("callsignProblem")->isVisibleTo(&window));
}

TEST_F(Setup, okHandsOverWhatWasTypedAndAFailedSaveKeepsTheWindowOpen) {
    child<QGroupBox>("aprsIs")->setChecked(true);
    edit("aprsIsServer")->setText("127.0.0.1");
    child<QComboBox>("unit")->setCurrentIndex(2);
    saveError = "cannot write /x/kestrel32.conf";
    pressOk();
    EXPECT_EQ(applied, 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(text("saveProblem"), saveError);
    saveError.clear();
    pressOk();
    EXPECT_EQ(applied, 2);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(saved.callsign, "G4KST");
    EXPECT_NEAR(*saved.latitude, 52.0 + 3.5 / 60.0, 1e-9);
    EXPECT_NEAR(*saved.longitude, -(1.0 + 5.0 / 60.0), 1e-9);
    EXPECT_EQ(saved.gpsd, "");
    EXPECT_EQ(saved.aprsIs, "127.0.0.1:14580");
    EXPECT_EQ(saved.effectiveLogin(), "G4KST");
    EXPECT_EQ(saved.kiss, "");
    EXPECT_EQ(saved.unit, "nm");
}

TEST_F(Setup, fromGpsdThePositionMayWaitAndTheFixShowsLive) {
    LineServer gpsd(R"({"class":"VERSION","release":"3.22"})"
                    "\n"
                    R"({"class":"TPV","mode":3,"lat":52.1,"lon":-1.2})"
                    "\n");
    child<QRadioButton>("positionGpsd")->setChecked(true);
    edit("gpsd")->setText(gpsd.address());
    edit("latitude")->clear();
    edit("longitude")->clear();
    EXPECT_TRUE(waitUntil([&] { return text("gpsdFix").contains("52.10000 -1.20000"); }))
        << text("gpsdFix").toStdString();
    EXPECT_TRUE(text("gpsdFix").startsWith("3D fix at ")) << text("gpsdFix").toStdString();
    pressOk();
    ASSERT_EQ(applied, 1);
    EXPECT_EQ(saved.gpsd, gpsd.address());
    EXPECT_FALSE(saved.latitude);
}

TEST_F(Setup, testSaysInWordsWhatIsAtEachAddress) {
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 nobody = closed.serverPort();
    closed.close();
    LineServer kiss(feed::kissEncode("not really AX.25 but a frame"));
    LineServer aprsIs("# testserver 1.0\r\n", aprsIsLoginAnswer);
    LineServer ssh("SSH-2.0-OpenSSH_9.2\r\n");
    window.kissProbe().setWaitMs(300);
    window.aprsIsProbe().setWaitMs(2000);
    child<QGroupBox>("kiss")->setChecked(true);
    child<QGroupBox>("aprsIs")->setChecked(true);
    QPushButton* kissTest = child<QPushButton>("kissTest");
    QPushButton* aprsIsTest = child<QPushButton>("aprsIsTest");

    for (const auto& [address, words] : std::vector<std::pair<QString, QString>>{
             {kiss.address(), "Connected to %1: KISS frames arrive."},
             {QStringLiteral("127.0.0.1:%1").arg(nobody), "Refused: nothing listens on %1."}}) {
        edit("kissAddress")->setText(address);
        kissTest->click();
        EXPECT_EQ(testResult("kissTestResult"), QString(words).arg(address));
    }

    // Pressed twice: one test, one connection.
    edit("aprsIsServer")->setText(aprsIs.address());
    aprsIsTest->click();
    aprsIsTest->click();
    EXPECT_EQ(testResult("aprsIsTestResult"),
              QStringLiteral("Connected to %1 (testserver 1.0); login G4KST unverified (receive "
                             "only).")
                  .arg(aprsIs.address()));
    QLabel* result = child<QLabel>("aprsIsTestResult");
    EXPECT_TRUE(waitUntil([&] {
        return result->height() >= result->heightForWidth(result->width());
    })) << "the result is shown whole, not cut to the lines the window had room for";
    EXPECT_EQ(aprsIs.connections, 1);
    EXPECT_EQ(aprsIs.received, "user G4KST pass -1 vers kestrel32 test\r\n");
    EXPECT_TRUE(waitUntil([&] { return aprsIs.hangUps == 1; })) << "the test hangs up";

    edit("aprsIsLogin")->setText("G4KST-1");
    edit("aprsIsPasscode")->setText("12345");
    aprsIsTest->click();
    EXPECT_TRUE(testResult("aprsIsTestResult").endsWith("login G4KST-1 verified."));
    edit("aprsIsServer")->setText(ssh.address());
    aprsIsTest->click();
    EXPECT_EQ(testResult("aprsIsTestResult"),
              QStringLiteral("Connected to %1, but it does not answer as an APRS-IS server "
                             "(\"SSH-2.0-OpenSSH_9.2\").")
                  .arg(ssh.address()));
    EXPECT_EQ(applied, 0) << "a test saves nothing";
}

// Each step a server leaves unanswered is named, the connection is hung up and the button
// works again.
TEST_F(Setup, testSaysWhichStepWasNotAnsweredInTime) {
    FullQueue unreachable;
    ASSERT_TRUE(unreachable.ready());
    LineServer silent;
    LineServer mute("# mute 1.0\r\n");
    window.kissProbe().setWaitMs(300);
    window.aprsIsProbe().setWaitMs(300);
    child<QGroupBox>("kiss")->setChecked(true);
    child<QGroupBox>("aprsIs")->setChecked(true);
    edit("aprsIsLogin")->setText("G4KST-1");

    const struct {
        const char* field;
        const char* button;
        const char* label;
        QString address;
        const char* words;
    } rows[] = {
        {"kissAddress", "kissTest", "kissTestResult", silent.address(),
         "Connected to %1, but no KISS frames within 0.3 s (nothing heard yet, or not a KISS "
         "port)."},
        {"aprsIsServer", "aprsIsTest", "aprsIsTestResult", silent.address(),
         "Connected to %1, but the server sent no banner within 0.3 s."},
        {"aprsIsServer", "aprsIsTest", "aprsIsTestResult", mute.address(),
         "Connected to %1 (mute 1.0), but no answer to the login within 0.3 s."},
        {"kissAddress", "kissTest", "kissTestResult", unreachable.address(),
         "Timed out: no answer from %1 within 0.3 s."},
        {"aprsIsServer", "aprsIsTest", "aprsIsTestResult", unreachable.address(),
         "Timed out: no answer from %1 within 0.3 s."}};
    for (const auto& row : rows) {
        edit(row.field)->setText(row.address);
        QPushButton* button = child<QPushButton>(row.button);
        button->click();
        EXPECT_EQ(testResult(row.label), QString::fromLatin1(row.words).arg(row.address));
        EXPECT_TRUE(button->isEnabled()) << row.label;
    }
    EXPECT_TRUE(waitUntil([&] { return silent.hangUps == 2 && mute.hangUps == 1; }))
        << silent.hangUps << " " << mute.hangUps;
    EXPECT_EQ(mute.received, "user G4KST-1 pass -1 vers kestrel32 test\r\n");
}

} // namespace
