// Guards against the update window telling the operator the wrong thing about the page it fetched.
#include <gtest/gtest.h>

#include "support/UpdateOutcome.h"
#include "support/UpdatePage.h"

namespace {

using Result = UpdateOutcome::Result;
using Colour = UpdateStatusColour;

const QString kApp = QStringLiteral("Kestrel32 add-on Ringwarden");
const QString kServer = QStringLiteral("https://ringwarden.example.org");

QString page(const char* version, const char* file = nullptr) {
    QString text = QStringLiteral("Quillfeather ") + kApp + " Version V" + version;
    return file ? text + " UpdateFile_" + kApp + u'=' + QString::fromLatin1(file) : text;
}

TEST(UpdateOutcome, VerdictOnEveryKindOfPage) {
    const QString noVersion = QStringLiteral("No version information found for app ") + kApp;
    const QString upToDate = QStringLiteral("Your current version is up to date");
    const QString noFile = QStringLiteral("The update file information is not found or invalid");
    const QString newer = QStringLiteral("There is a newer version of this program at ") + kServer;
    const struct {
        QString page;
        Result result;
        QString status;
        Colour colour;
        QString lastLogLine;
        QString updateFile = {};
    } rows[] = {
        {QString(), Result::NoSignature, "Can not contact webserver, maybe behind proxy ",
         Colour::Failure, "  signature not found"},
        {page("9.0.0 ", "x.deb ").mid(13), Result::NoSignature,
         "Can not contact webserver, maybe behind proxy ", Colour::Failure,
         "  signature not found"},
        {"Quillfeather home", Result::NoVersionInformation, noVersion, Colour::Failure,
         u' ' + noVersion},
        {page("1.2.0"), Result::NoVersionInformation, noVersion, Colour::Failure, u' ' + noVersion},
        {page("1.2.000000000 "), Result::NoVersionInformation, noVersion, Colour::Failure,
         u' ' + noVersion},
        {page("1.40000.0 "), Result::NoVersionInformation, noVersion, Colour::Failure,
         u' ' + noVersion},
        {page("1.10.0 "), Result::UpToDate, upToDate, Colour::Success, u' ' + upToDate},
        {page("1.0.9 "), Result::UpToDate, upToDate, Colour::Success, u' ' + upToDate},
        {page("1.2.0 "), Result::NoUpdateRecord, noFile, Colour::Failure,
         "    did not found version information"},
        {page("1.2.0 ", "rw.deb"), Result::NoUpdateRecord, noFile, Colour::Failure,
         "    did not found version information"},
        {page("1.10.1 ", "rw_1.10.1.deb <br>"), Result::UpdateAvailable, newer, Colour::Success,
         "    update is available", "rw_1.10.1.deb"},
        {pageTextFromBytes(QByteArray("\0\xff", 2)) + page("2.0.0 ", "rw\xe9.deb ") + QChar(0),
         Result::UpdateAvailable, newer, Colour::Success, "    update is available",
         QString::fromLatin1("rw\xe9.deb")},
    };
    for (const auto& row : rows) {
        const UpdateOutcome outcome = evaluateUpdatePage(row.page, kApp, {1, 1, 0}, kServer, ".");
        SCOPED_TRACE(row.page.toStdString());
        EXPECT_EQ(outcome.result, row.result);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.colour, row.colour);
        EXPECT_EQ(outcome.logLines.value(0), QStringLiteral("Check signature"));
        EXPECT_EQ(outcome.logLines.value(outcome.logLines.size() - 1), row.lastLogLine);
        EXPECT_EQ(outcome.updateFile, row.updateFile);
    }
}

TEST(UpdateOutcome, LogNamesBothVersionsWithTheGivenSeparator) {
    const UpdateOutcome outcome =
        evaluateUpdatePage(page("1.57.3 "), kApp, {1, 6, 0}, kServer, ",");
    EXPECT_EQ(outcome.status, QStringLiteral("Your current version is up to date"));
    EXPECT_TRUE(outcome.logLines.contains(QStringLiteral("current version = 1,6, rev:0")));
    EXPECT_TRUE(outcome.logLines.contains(QStringLiteral("update version  = 1,57, rev:3")));
}

TEST(UpdateOutcome, TextsAndColoursOfTheWindow) {
    EXPECT_EQ(contactingText(kServer), "Contacting webserver " + kServer);
    EXPECT_EQ(failedToConnectText(kServer), "Failed to connect to " + kServer);
    EXPECT_EQ(requestErrorText("Connection refused"), QStringLiteral("error Connection refused"));
    EXPECT_EQ(downloadLinkText("rw.deb"), QStringLiteral("Download the update rw.deb"));
    EXPECT_EQ(downloadLinkToolTip("rw.deb", kServer), "Download update rw.deb from " + kServer);
    EXPECT_EQ(downloadAddress(kServer, "rw.deb"), kServer + "/rw.deb");
    EXPECT_EQ(statusColour(Colour::Working), QColor(255, 255, 0));
    EXPECT_EQ(statusColour(Colour::Success), QColor(0, 128, 0));
    EXPECT_EQ(statusColour(Colour::Failure), QColor(255, 0, 0));
}

} // namespace
