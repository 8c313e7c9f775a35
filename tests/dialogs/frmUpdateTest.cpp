// The update window and CheckForUpdate against a server on 127.0.0.1.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "BuildInfo.h"
#include "OpenedUrls.h"
#include "TestHttpServer.h"
#include "support/Globals.h"
#include "support/MessageBoxSeam.h"
#include "support/UpdateState.h"
#include "ui/LinkLabel.h"
#include "ui/Twips.h"
#include "ui/frmUpdate.h"

namespace {

using Behaviour = TestHttpServer::Behaviour;
using Answer = TestHttpServer::Answer;

const QColor kYellow(255, 255, 0);
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);

QByteArray versionRecord(int major, int minor, int revision) {
    return "Kestrel32 add-on Ringwarden Version V" + QByteArray::number(major) + '.' +
           QByteArray::number(minor) + '.' + QByteArray::number(revision) + ' ';
}

QByteArray ownRecord() {
    return versionRecord(BuildInfo::major, BuildInfo::minor, BuildInfo::revision);
}

QByteArray newerRecord() {
    return versionRecord(BuildInfo::major + 1, 0, 0);
}

const QByteArray kUpdateRecord = "UpdateFile_Kestrel32 add-on Ringwarden=";

Answer page(const QByteArray& body) {
    Answer answer;
    answer.body = body;
    return answer;
}

class UpdateWindow : public ::testing::Test {
protected:
    void SetUp() override {
        gstrAppName = QStringLiteral("Kestrel32 add-on Ringwarden");
        gstrAppTitle = gstrAppName + QStringLiteral(" V1.1.0");
        previousShower =
            setMessageBoxShower([this](const MessageBoxRequest& box) { boxes.append(box); });
        setUpdateServerAddress(server.baseAddress());
        setUpdateTimeoutMs(5000);

        caller = new QMainWindow;
        QMenu* help = caller->menuBar()->addMenu(QStringLiteral("&Help"));
        menuItem = help->addAction(QStringLiteral("&Check for update"));
        menuItem->setObjectName(QStringLiteral("mnuHelpUpdate"));
        caller->show();
    }

    void TearDown() override {
        delete caller; // takes the update window with it
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setMessageBoxShower(previousShower);
        setUpdateServerAddress(kDefaultUpdateServer);
        setUpdateTimeoutMs(kDefaultUpdateTimeoutMs);
    }

    frmUpdate* check() {
        CheckForUpdate(*caller);
        return frmUpdate::openWindow();
    }

    static QStringList logLines(const frmUpdate* window) {
        QStringList lines = window->txtLogging->toPlainText().split(u'\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    // What every outcome leaves behind: item and Close enabled, the request over.
    void expectIdle(const frmUpdate* window) const {
        EXPECT_TRUE(menuItem->isEnabled());
        EXPECT_TRUE(window->Command1->isEnabled());
        EXPECT_FALSE(gblnUpdateBusy);
    }

    void expectRequestFailure(const frmUpdate* window, const QString& server,
                              const QString& errorText) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->Label1->text(), QStringLiteral("Failed to connect to ") + server);
        EXPECT_EQ(window->statusColour(), kRed);
        EXPECT_EQ(logLines(window), QStringList{QStringLiteral("Contacting webserver ") + server});
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes.first().icon, MessageIcon::None);
        EXPECT_EQ(boxes.first().title, QStringLiteral("Ringwarden"));
        EXPECT_TRUE(boxes.first().text.startsWith(QStringLiteral("error ")));
        if (!errorText.isEmpty()) {
            EXPECT_EQ(boxes.first().text, QStringLiteral("error ") + errorText);
        }
        EXPECT_FALSE(window->lblWebURL->isVisible());
        expectIdle(window);
    }

    TestHttpServer server;
    QMainWindow* caller = nullptr;
    QAction* menuItem = nullptr;
    QList<MessageBoxRequest> boxes;
    MessageBoxShower previousShower;
};

// ---- requests that fail ----

TEST_F(UpdateWindow, RefusedConnection) {
    const QString refusing =
        QStringLiteral("http://127.0.0.1:%1").arg(TestHttpServer::refusingPort());
    setUpdateServerAddress(refusing);
    expectRequestFailure(check(), refusing, QString());
    EXPECT_TRUE(boxes.first().text.contains(QStringLiteral("refused"), Qt::CaseInsensitive));
}

TEST_F(UpdateWindow, ServerThatNeverAnswersTimesOut) {
    Answer silent;
    silent.behaviour = Behaviour::NeverAnswer;
    server.setAnswer("/", silent);
    setUpdateTimeoutMs(300);
    expectRequestFailure(check(), server.baseAddress(),
                         QStringLiteral("The server did not answer within 0.3 seconds"));
}

TEST_F(UpdateWindow, NotFoundWithTheSignatureInItsBody) {
    Answer missing = page("Quillfeather " + newerRecord() + kUpdateRecord + "rw.deb ");
    missing.status = "404 Not Found";
    server.setAnswer("/", missing);
    frmUpdate* window = check();
    expectRequestFailure(window, server.baseAddress(), QString());
    EXPECT_TRUE(gstrUpdateFile.isEmpty());
}

TEST_F(UpdateWindow, PageOverOneMebibyte) {
    server.setAnswer("/", page("Quillfeather " + QByteArray(kUpdatePageLimit, ' ')));
    expectRequestFailure(check(), server.baseAddress(),
                         QStringLiteral("The page is larger than 1048576 bytes"));
}

TEST_F(UpdateWindow, ServerClosingMidBody) {
    Answer cut = page("Quillfeather " + ownRecord() + QByteArray(4000, '.'));
    cut.behaviour = Behaviour::CloseMidBody;
    server.setAnswer("/", cut);
    expectRequestFailure(check(), server.baseAddress(), QString());
}

// ---- pages that arrive ----

struct PageRow {
    const char* name;
    Answer answer;
    QString status; // "%1" stands for the server address
    QColor colour;
    QString lastLogLine;
    bool linkShown;
};

void PrintTo(const PageRow& row, std::ostream* out) {
    *out << row.name;
}

class UpdatePages : public UpdateWindow, public ::testing::WithParamInterface<PageRow> {};

TEST_P(UpdatePages, StatusColourLogAndLink) {
    const PageRow& row = GetParam();
    server.setAnswer("/", row.answer);
    server.setAnswer("/home", page("Quillfeather " + ownRecord()));
    frmUpdate* window = check();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Label1->text(), row.status.arg(server.baseAddress()));
    EXPECT_EQ(window->statusColour(), row.colour);
    const QStringList lines = logLines(window);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.at(0), QStringLiteral("Contacting webserver ") + server.baseAddress());
    EXPECT_EQ(lines.at(1), QStringLiteral("Check signature"));
    EXPECT_EQ(lines.last(), row.lastLogLine);
    EXPECT_EQ(window->lblWebURL->isVisible(), row.linkShown);
    EXPECT_TRUE(boxes.isEmpty());
    expectIdle(window);
}

const QString kNoVersion =
    QStringLiteral("No version information found for app Kestrel32 add-on Ringwarden");
const QString kUpToDate = QStringLiteral("Your current version is up to date");
const QString kNoFile = QStringLiteral("The update file information is not found or invalid");
const QString kProxy = QStringLiteral("Can not contact webserver, maybe behind proxy ");
const QString kNewer = QStringLiteral("There is a newer version of this program at %1");

Answer slowPage() {
    Answer answer = page("Quillfeather " + ownRecord());
    answer.delayMs = 300;
    return answer;
}

Answer redirect() {
    Answer answer;
    answer.status = "301 Moved Permanently";
    answer.headers = {{"Location", "/home"}};
    return answer;
}

INSTANTIATE_TEST_SUITE_P(
    FailureTable, UpdatePages,
    ::testing::Values(
        PageRow{"upToDate", page("<p>Quillfeather</p>" + ownRecord()), kUpToDate, kGreen,
                u' ' + kUpToDate, false},
        PageRow{"slow", slowPage(), kUpToDate, kGreen, u' ' + kUpToDate, false},
        PageRow{"redirect", redirect(), kUpToDate, kGreen, u' ' + kUpToDate, false},
        PageRow{"empty", page({}), kProxy, kRed, QStringLiteral("  signature not found"), false},
        PageRow{"noSignature", page(newerRecord() + kUpdateRecord + "rw.deb "), kProxy, kRed,
                QStringLiteral("  signature not found"), false},
        PageRow{"keyWithoutDots",
                page("Quillfeather Kestrel32 add-on Ringwarden Version V110 and on"), kNoVersion,
                kRed, u' ' + kNoVersion, false},
        PageRow{"versionPieceTooLarge",
                page("Quillfeather Kestrel32 add-on Ringwarden Version V1.65536.0 "), kNoVersion,
                kRed, u' ' + kNoVersion, false},
        PageRow{"nameWithoutClosingBlank",
                page("Quillfeather " + newerRecord() + kUpdateRecord + "rw.deb"), kNoFile, kRed,
                QStringLiteral("    did not found version information"), false},
        PageRow{"nulAndHighBytes",
                page(QByteArray("\0\xfe\xff", 3) + "Quillfeather" + QByteArray("\0", 1) +
                     newerRecord() + "\x80\x81" + kUpdateRecord + "rw.deb " + QByteArray("\0", 1)),
                kNewer, kGreen, QStringLiteral("    update is available"), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdateWindow, NewerVersionOffersTheDownload) {
    server.setAnswer("/", page("Quillfeather " + newerRecord() + "<br>" + kUpdateRecord +
                               "ringwarden_2.0.0_amd64.deb <br>"));
    OpenedUrls opened({QStringLiteral("http"), QStringLiteral("https")});
    frmUpdate* window = check();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(gstrUpdateFile, QStringLiteral("ringwarden_2.0.0_amd64.deb"));
    EXPECT_EQ(window->lblWebURL->text(),
              QStringLiteral("Download the update ringwarden_2.0.0_amd64.deb"));
    EXPECT_EQ(window->lblWebURL->toolTip(),
              QStringLiteral("Download update ringwarden_2.0.0_amd64.deb from ") +
                  server.baseAddress());
    const QStringList lines = logLines(window);
    EXPECT_TRUE(lines.contains(QStringLiteral(" a newer version is available...")));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("update version  = %1, rev:0").arg(BuildInfo::major + 1)));

    QTest::mouseClick(window->lblWebURL, Qt::LeftButton);
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls.first().toString(),
              server.baseAddress() + QStringLiteral("/ringwarden_2.0.0_amd64.deb"));
}

TEST_F(UpdateWindow, CaptionNamesTheProgram) {
    server.setAnswer("/", page("Quillfeather " + ownRecord()));
    EXPECT_EQ(check()->windowTitle(),
              QStringLiteral("Kestrel32 add-on Ringwarden V1.1.0, checking for update."));
}

TEST_F(UpdateWindow, WhileTheRequestRunsItemAndCloseAreGreyAndCloseIsRefused) {
    Answer silent;
    silent.behaviour = Behaviour::NeverAnswer;
    server.setAnswer("/", silent);
    setUpdateTimeoutMs(1500);

    bool looked = false, busy = false, itemEnabled = true, closeEnabled = true, closed = true;
    bool stillVisible = false;
    QString status;
    QColor colour;
    // Runs inside the wait: the window keeps handling events while the request is out.
    QTimer::singleShot(200, [&] {
        frmUpdate* window = frmUpdate::openWindow();
        looked = true;
        busy = gblnUpdateBusy;
        itemEnabled = menuItem->isEnabled();
        closeEnabled = window->Command1->isEnabled();
        status = window->Label1->text();
        colour = window->statusColour();
        closed = window->close();
        stillVisible = window->isVisible();
    });
    frmUpdate* window = check();
    ASSERT_TRUE(looked);
    EXPECT_TRUE(busy);
    EXPECT_FALSE(itemEnabled);
    EXPECT_FALSE(closeEnabled);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(stillVisible);
    EXPECT_EQ(status, QStringLiteral("Contacting webserver ") + server.baseAddress());
    EXPECT_EQ(colour, kYellow);
    ASSERT_NE(window, nullptr);
    expectIdle(window);
    // Once the request has ended, Close closes.
    EXPECT_TRUE(window->close());
}

TEST_F(UpdateWindow, MoreAndLessResizeAndShowTheLog) {
    server.setAnswer("/", page("Quillfeather " + ownRecord()));
    frmUpdate* window = check();
    const double dpi = window->logicalDpiY();
    const auto pixels = [dpi](int twips) { return twipsToPixels(twips, dpi); };

    EXPECT_EQ(window->Command3->text(), QStringLiteral("More"));
    EXPECT_FALSE(window->txtLogging->isVisible());
    EXPECT_EQ(window->outerHeightTwips(), 1680 + 100);
    EXPECT_EQ(window->height(), pixels(1680 + 100 - frmUpdate::kNominalFrameTwips));
    EXPECT_LE(window->Command1->geometry().bottom(), window->height());

    QTest::mouseClick(window->Command3, Qt::LeftButton);
    EXPECT_EQ(window->Command3->text(), QStringLiteral("Less"));
    EXPECT_TRUE(window->txtLogging->isVisible());
    EXPECT_EQ(window->outerHeightTwips(), 1680 + 765 + 400);
    EXPECT_EQ(window->height(), pixels(1680 + 765 + 400 - frmUpdate::kNominalFrameTwips));
    EXPECT_LE(window->txtLogging->geometry().bottom(), window->height());

    QTest::mouseClick(window->Command3, Qt::LeftButton);
    EXPECT_EQ(window->Command3->text(), QStringLiteral("More"));
    EXPECT_FALSE(window->txtLogging->isVisible());
    EXPECT_EQ(window->height(), pixels(1680 + 100 - frmUpdate::kNominalFrameTwips));
}

TEST_F(UpdateWindow, SecondCheckReusesTheWindowAsItWas) {
    server.setAnswer("/", page("Quillfeather " + newerRecord() + kUpdateRecord + "rw.deb "));
    frmUpdate* first = check();
    ASSERT_TRUE(first->lblWebURL->isVisible());
    QTest::mouseClick(first->Command3, Qt::LeftButton); // More: log shown, window tall
    const int tallHeight = first->height();

    server.setAnswer("/", page("no signature here"));
    frmUpdate* second = check();
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->Command3->text(), QStringLiteral("Less"));
    EXPECT_EQ(second->height(), tallHeight);
    EXPECT_FALSE(second->txtLogging->isVisible());
    EXPECT_FALSE(second->lblWebURL->isVisible());
    EXPECT_TRUE(gstrUpdateFile.isEmpty());
    // The log holds the second check only.
    const QStringList lines = logLines(second);
    EXPECT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.last(), QStringLiteral("  signature not found"));
    EXPECT_EQ(server.requestCount(), 2);
}

TEST_F(UpdateWindow, CloseButtonClosesTheWindowAfterTheCheck) {
    server.setAnswer("/", page("Quillfeather " + ownRecord()));
    frmUpdate* window = check();
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmUpdate::openWindow(), nullptr);
}

TEST_F(UpdateWindow, ClosesWithTheMainWindow) {
    server.setAnswer("/", page("Quillfeather " + ownRecord()));
    check();
    caller->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmUpdate::openWindow(), nullptr);
}

TEST_F(UpdateWindow, MainWindowClosedDuringTheRequestTakesTheWindowAfterwards) {
    Answer slow = page("Quillfeather " + ownRecord());
    slow.delayMs = 400;
    server.setAnswer("/", slow);
    QTimer::singleShot(100, caller, [this] { caller->close(); });
    check();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmUpdate::openWindow(), nullptr);
    EXPECT_FALSE(gblnUpdateBusy);
}

TEST_F(UpdateWindow, LongLogIsCutBeforeTheNextLine) {
    server.setAnswer("/", page("Quillfeather " + ownRecord()));
    frmUpdate* window = check();
    window->txtLogging->setPlainText(QString(15001, u'x'));
    AddLogLine(QStringLiteral("after"));
    const QString log = window->txtLogging->toPlainText();
    EXPECT_EQ(log.size(), 10000 + 6);
    EXPECT_TRUE(log.endsWith(QStringLiteral("xafter\n")));
}

TEST_F(UpdateWindow, Screenshot) {
    server.setAnswer(
        "/", page("Quillfeather " + newerRecord() + kUpdateRecord + "ringwarden_2.0.0_amd64.deb "));
    setUpdateServerAddress(server.baseAddress());
    frmUpdate* window = check();
    QTest::mouseClick(window->Command3, Qt::LeftButton);
    const QPixmap picture = window->grab();
    EXPECT_EQ(picture.size(), window->size() * picture.devicePixelRatio());
    const QString folder = qEnvironmentVariable("RINGWARDEN_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(picture.save(folder + QStringLiteral("/update-window.png")));
    }
}

} // namespace
