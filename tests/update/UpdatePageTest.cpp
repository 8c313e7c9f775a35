// Guards against the update check misreading its page: a version or file name cut from the wrong
// place, an update offered when none is newer (1.6 against 1.57) or missed, the operator told the
// wrong thing, or a log that grows without bound.
#include <gtest/gtest.h>

#include "update/UpdateLog.h"
#include "update/UpdateOutcome.h"
#include "update/UpdatePage.h"
#include "update/UpdateVersion.h"

namespace {

const QString kApp = QStringLiteral("Kestrel32 add-on Ringwarden");
const QString kRecord = QStringLiteral("UpdateFile_") + kApp + u'=';

TEST(UpdatePage, VersionTextIsUpToTenCharactersAfterTheKeyAndOneMore) {
    const std::pair<QString, std::optional<QString>> rows[] = {
        {kApp + " Version V1.2.0 and more", QStringLiteral("1.2.0 and ")},
        {kApp + " Version X9.9.9 ", QStringLiteral("9.9.9 ")},
        {kApp + " Version V1.2", QStringLiteral("1.2")},
        {kApp + " Version ", QString()},
        {kApp + " Version V1.0.0 " + kApp + " Version V2.0.0 ", QStringLiteral("1.0.0 Kest")},
        {kApp.toLower() + " Version V1.2.0 ", std::nullopt},
        {kApp + "Version V1.2.0 ", std::nullopt}};
    for (const auto& [page, text] : rows)
        EXPECT_EQ(findVersionText(page, kApp), text) << page.toStdString();
}

TEST(UpdatePage, UpdateFileNameRunsToTheFirstBlankAfterItsFirstCharacter) {
    const std::pair<QString, std::optional<QString>> rows[] = {
        {"x " + kRecord + "rw-1.2.0.deb y", QStringLiteral("rw-1.2.0.deb")},
        {kRecord + "  z", QStringLiteral(" ")},
        {kRecord + "rw-1.2.0.deb", std::nullopt},
        {"UpdateFile_Other=x.deb ", std::nullopt}};
    for (const auto& [page, name] : rows)
        EXPECT_EQ(findUpdateFileName(page, kApp), name) << page.toStdString();
}

TEST(UpdateVersion, NewerByDecimalValueThenRevision) {
    const struct {
        UpdateVersion published;
        UpdateVersion own;
        bool newer;
    } rows[] = {{{1, 6, 0}, {1, 57, 0}, true},     {{1, 57, 0}, {1, 6, 0}, false},
                {{1, 10, 0}, {1, 1, 0}, false},    {{1, 10, 1}, {1, 1, 0}, true},
                {{1, 1, 0}, {1, 10, 3}, false},    {{2, 0, 0}, {1, 99, 9}, true},
                {{0, 32767, 0}, {1, 0, 0}, false}, {{1, 32767, 0}, {1, 3276, 0}, true}};
    for (const auto& row : rows)
        EXPECT_EQ(isNewerVersion(row.published, row.own), row.newer)
            << versionDottedText(row.published).toStdString() << " against "
            << versionDottedText(row.own).toStdString();
}

TEST(UpdateVersion, TextNeedsTwoDotsAClosingBlankAndPiecesOf16Bits) {
    const std::pair<const char*, std::optional<UpdateVersion>> rows[] = {
        {"1.10.0 <br", UpdateVersion{1, 10, 0}},
        {"1.2.0", std::nullopt},
        {"1.2 0 ", std::nullopt},
        {"a.b.c ", UpdateVersion{0, 0, 0}},
        {" 1x.2y.3z ", UpdateVersion{1, 2, 3}},
        {"32767.0.0 ", UpdateVersion{32767, 0, 0}},
        {"1.0.32768 ", std::nullopt},
        {"99999999999999999999.1.1 ", std::nullopt},
        {"-1.0.0 ", std::nullopt},
        {"+1.-0.0 ", UpdateVersion{1, 0, 0}}};
    for (const auto& [text, version] : rows)
        EXPECT_EQ(parseVersionText(QString::fromLatin1(text)), version) << text;
}

using Result = UpdateOutcome::Result;
using Colour = UpdateStatusColour;

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
        QString updateFile = {};
    } rows[] = {
        {page("9.0.0 ", "x.deb ").toLower(), Result::NoSignature,
         "Can not contact webserver, maybe behind proxy ", Colour::Failure},
        {"Quillfeather home", Result::NoVersionInformation, noVersion, Colour::Failure},
        {page("1.10.0 ", "x.deb "), Result::UpToDate, upToDate, Colour::Success},
        {page("1.2.0 "), Result::NoUpdateRecord,
         "The update file information is not found or invalid", Colour::Failure},
        {pageTextFromBytes(QByteArray("\0\xff", 2)) + page("1.10.1 ", "rw\xe9.deb ") + QChar(0),
         Result::UpdateAvailable, newer, Colour::Success, QString::fromLatin1("rw\xe9.deb")},
    };
    for (const auto& row : rows) {
        const UpdateOutcome outcome = evaluateUpdatePage(row.page, kApp, {1, 1, 0}, kServer, ".");
        SCOPED_TRACE(row.page.toStdString());
        EXPECT_EQ(outcome.result, row.result);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.colour, row.colour);
        EXPECT_EQ(outcome.updateFile, row.updateFile);
    }
}

TEST(UpdateLog, KeepsItsLastCharactersOncePastTheLimit) {
    EXPECT_EQ(appendLogLine("a\n", "b"), QStringLiteral("a\nb\n"));
    const QString atLimit(kUpdateLogLimit, u'x');
    EXPECT_EQ(appendLogLine(atLimit, "next"), atLimit + "next\n");
    QString past; // numbered characters show which end was kept
    for (qsizetype i = 0; i <= kUpdateLogLimit; ++i)
        past += QChar(char16_t(u'a' + i % 26));
    EXPECT_EQ(appendLogLine(past, "next"), past.right(kUpdateLogKeptLength) + "next\n");
}

} // namespace
