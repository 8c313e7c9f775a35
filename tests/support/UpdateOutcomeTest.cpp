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

// How versions and file names are cut from the page has its own tables; one row per verdict here.
TEST(UpdateOutcome, VerdictOnEveryKindOfPage) {
    const QString noVersion = QStringLiteral("No version information found for app ") + kApp;
    const QString upToDate = QStringLiteral("Your current version is up to date");
    const QString newer = QStringLiteral("There is a newer version of this program at ") + kServer;
    const struct {
        QString page;
        Result result;
        QString status;
        Colour colour;
        QString lastLogLine;
        QString updateFile = {};
    } rows[] = {
        {page("9.0.0 ", "x.deb ").toLower(), Result::NoSignature,
         "Can not contact webserver, maybe behind proxy ", Colour::Failure,
         "  signature not found"},
        {"Quillfeather home", Result::NoVersionInformation, noVersion, Colour::Failure,
         u' ' + noVersion},
        {page("1.10.0 ", "x.deb "), Result::UpToDate, upToDate, Colour::Success, u' ' + upToDate},
        {page("1.2.0 "), Result::NoUpdateRecord,
         "The update file information is not found or invalid", Colour::Failure,
         "    did not found version information"},
        {pageTextFromBytes(QByteArray("\0\xff", 2)) + page("1.10.1 ", "rw\xe9.deb ") + QChar(0),
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

} // namespace
