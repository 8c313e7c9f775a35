#include <gtest/gtest.h>

#include "support/UpdateOutcome.h"
#include "support/UpdatePage.h"

namespace {

using Result = UpdateOutcome::Result;

const QString kApp = QStringLiteral("Kestrel32 add-on Ringwarden");
const QString kServer = QStringLiteral("https://ringwarden.example.org");
const UpdateVersion kOwn{1, 1, 0};

QString versionRecord(const char* version) {
    return kApp + QStringLiteral(" Version V") + QString::fromLatin1(version);
}

QString updateRecord(const char* name) {
    return QStringLiteral("UpdateFile_") + kApp + u'=' + QString::fromLatin1(name);
}

UpdateOutcome judge(const QString& page) {
    return evaluateUpdatePage(page, kApp, kOwn, kServer, QStringLiteral("."));
}

struct Row {
    const char* name;
    QString page;
    Result result;
    QString status;
    UpdateStatusColour colour;
    QString lastLogLine;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

class PageVerdict : public ::testing::TestWithParam<Row> {};

TEST_P(PageVerdict, StatusColourAndLastLogLine) {
    const Row& row = GetParam();
    const UpdateOutcome outcome = judge(row.page);
    EXPECT_EQ(outcome.result, row.result);
    EXPECT_EQ(outcome.status, row.status);
    EXPECT_EQ(outcome.colour, row.colour);
    ASSERT_FALSE(outcome.logLines.isEmpty());
    EXPECT_EQ(outcome.logLines.first(), QStringLiteral("Check signature"));
    EXPECT_EQ(outcome.logLines.last(), row.lastLogLine);
}

const QString kNoVersion = QStringLiteral("No version information found for app ") + kApp;
const QString kUpToDate = QStringLiteral("Your current version is up to date");
const QString kNoFile = QStringLiteral("The update file information is not found or invalid");
const QString kProxy = QStringLiteral("Can not contact webserver, maybe behind proxy ");

INSTANTIATE_TEST_SUITE_P(
    FailureTable, PageVerdict,
    ::testing::Values(
        Row{"empty", QString(), Result::NoSignature, kProxy, UpdateStatusColour::Failure,
            QStringLiteral("  signature not found")},
        Row{"noSignature", versionRecord("9.0.0 ") + u' ' + updateRecord("x.deb "),
            Result::NoSignature, kProxy, UpdateStatusColour::Failure,
            QStringLiteral("  signature not found")},
        Row{"noKey", QStringLiteral("Quillfeather home page"), Result::NoVersionInformation,
            kNoVersion, UpdateStatusColour::Failure, u' ' + kNoVersion},
        Row{"keyWithoutDots", QStringLiteral("Quillfeather ") + versionRecord("120 "),
            Result::NoVersionInformation, kNoVersion, UpdateStatusColour::Failure,
            u' ' + kNoVersion},
        Row{"versionAtPageEnd", QStringLiteral("Quillfeather ") + versionRecord("1.2.0"),
            Result::NoVersionInformation, kNoVersion, UpdateStatusColour::Failure,
            u' ' + kNoVersion},
        Row{"blankTooFar", QStringLiteral("Quillfeather ") + versionRecord("1.2.000000000 "),
            Result::NoVersionInformation, kNoVersion, UpdateStatusColour::Failure,
            u' ' + kNoVersion},
        Row{"pieceOver16Bits", QStringLiteral("Quillfeather ") + versionRecord("1.40000.0 "),
            Result::NoVersionInformation, kNoVersion, UpdateStatusColour::Failure,
            u' ' + kNoVersion},
        Row{"upToDate", QStringLiteral("Quillfeather ") + versionRecord("1.1.0 "), Result::UpToDate,
            kUpToDate, UpdateStatusColour::Success, u' ' + kUpToDate},
        Row{"tenEqualsOne", QStringLiteral("Quillfeather ") + versionRecord("1.10.0 "),
            Result::UpToDate, kUpToDate, UpdateStatusColour::Success, u' ' + kUpToDate},
        Row{"older", QStringLiteral("Quillfeather ") + versionRecord("1.0.9 "), Result::UpToDate,
            kUpToDate, UpdateStatusColour::Success, u' ' + kUpToDate},
        Row{"newerNoRecord", QStringLiteral("Quillfeather ") + versionRecord("1.2.0 "),
            Result::NoUpdateRecord, kNoFile, UpdateStatusColour::Failure,
            QStringLiteral("    did not found version information")},
        Row{"nameWithoutClosingBlank",
            QStringLiteral("Quillfeather ") + versionRecord("1.2.0 ") + updateRecord("rw.deb"),
            Result::NoUpdateRecord, kNoFile, UpdateStatusColour::Failure,
            QStringLiteral("    did not found version information")},
        Row{"newer",
            QStringLiteral("Quillfeather ") + versionRecord("1.10.1 ") + updateRecord("rw.deb "),
            Result::UpdateAvailable,
            QStringLiteral("There is a newer version of this program at ") + kServer,
            UpdateStatusColour::Success, QStringLiteral("    update is available")},
        Row{"nulAndHighBytes",
            pageTextFromBytes(QByteArray("\0\xff Quillfeather\0\x80", 17)) +
                versionRecord("2.0.0 ") + QChar(0xe9) + updateRecord("rw\xe9.deb \0"),
            Result::UpdateAvailable,
            QStringLiteral("There is a newer version of this program at ") + kServer,
            UpdateStatusColour::Success, QStringLiteral("    update is available")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateOutcome, UpToDateLogInOrder) {
    const UpdateOutcome outcome = judge(QStringLiteral("Quillfeather ") + versionRecord("1.1.0 "));
    const QStringList expected{
        QStringLiteral("Check signature"),
        QStringLiteral("look for version information"),
        QStringLiteral("  look for version information: Kestrel32 add-on Ringwarden Version "),
        QStringLiteral("  found version information"),
        QStringLiteral("current version = 1.1, rev:0"),
        QStringLiteral("update version  = 1.1, rev:0"),
        QStringLiteral(" Your current version is up to date")};
    EXPECT_EQ(outcome.logLines, expected);
}

TEST(UpdateOutcome, NewerVersionNamesBothVersionsAndTheFile) {
    const UpdateOutcome outcome = judge(QStringLiteral("Quillfeather ") + versionRecord("1.6.0 ") +
                                        updateRecord("ringwarden_1.6.0_amd64.deb <br>"));
    EXPECT_EQ(outcome.updateFile, QStringLiteral("ringwarden_1.6.0_amd64.deb"));
    EXPECT_TRUE(outcome.logLines.contains(QStringLiteral("update version  = 1.6, rev:0")));
    EXPECT_TRUE(outcome.logLines.contains(QStringLiteral(" a newer version is available...")));
}

TEST(UpdateOutcome, LogWritesVersionValuesWithTheGivenSeparator) {
    const UpdateOutcome outcome =
        evaluateUpdatePage(QStringLiteral("Quillfeather ") + versionRecord("1.57.3 "), kApp,
                           UpdateVersion{1, 6, 0}, kServer, QStringLiteral(","));
    EXPECT_EQ(outcome.result, Result::UpToDate); // 1.57 < 1.6
    EXPECT_TRUE(outcome.logLines.contains(QStringLiteral("current version = 1,6, rev:0")));
    EXPECT_TRUE(outcome.logLines.contains(QStringLiteral("update version  = 1,57, rev:3")));
}

TEST(UpdateOutcome, TextsOfTheWindow) {
    EXPECT_EQ(contactingText(kServer), QStringLiteral("Contacting webserver ") + kServer);
    EXPECT_EQ(failedToConnectText(kServer), QStringLiteral("Failed to connect to ") + kServer);
    EXPECT_EQ(requestErrorText(QStringLiteral("Connection refused")),
              QStringLiteral("error Connection refused"));
    EXPECT_EQ(downloadLinkText(QStringLiteral("rw.deb")),
              QStringLiteral("Download the update rw.deb"));
    EXPECT_EQ(downloadLinkToolTip(QStringLiteral("rw.deb"), kServer),
              QStringLiteral("Download update rw.deb from ") + kServer);
    EXPECT_EQ(downloadAddress(kServer, QStringLiteral("rw.deb")),
              kServer + QStringLiteral("/rw.deb"));
}

TEST(UpdateOutcome, StatusColours) {
    EXPECT_EQ(statusColour(UpdateStatusColour::Working), QColor(255, 255, 0));
    EXPECT_EQ(statusColour(UpdateStatusColour::Success), QColor(0, 128, 0));
    EXPECT_EQ(statusColour(UpdateStatusColour::Failure), QColor(255, 0, 0));
}

} // namespace
