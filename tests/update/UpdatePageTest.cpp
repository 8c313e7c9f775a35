#include <gtest/gtest.h>

#include "support/UpdatePage.h"

namespace {

const QString kApp = QStringLiteral("Kestrel32 add-on Ringwarden");

TEST(UpdatePage, BytesBecomeOneCharacterEach) {
    const QByteArray body("a\0\xff\xe9z", 5);
    const QString page = pageTextFromBytes(body);
    ASSERT_EQ(page.size(), 5);
    EXPECT_EQ(page.at(1), QChar(0));
    EXPECT_EQ(page.at(2), QChar(0xff));
    EXPECT_EQ(page.at(3), QChar(0xe9));
    EXPECT_TRUE(pageTextFromBytes({}).isEmpty());
}

TEST(UpdatePage, SignatureIsExactAndCaseSensitive) {
    EXPECT_TRUE(pageHasSignature(QStringLiteral("<p>Quillfeather</p>")));
    EXPECT_FALSE(pageHasSignature(QStringLiteral("quillfeather")));
    EXPECT_FALSE(pageHasSignature(QString()));
    EXPECT_TRUE(pageHasSignature(pageTextFromBytes(QByteArray("\0Quillfeather\0", 14))));
}

TEST(UpdatePage, VersionTextIsTheTenCharactersAfterTheV) {
    const QString page = kApp + QStringLiteral(" Version V1.2.0 and more text");
    EXPECT_EQ(findVersionText(page, kApp), QStringLiteral("1.2.0 and "));
    // Whatever character stands where the V belongs is skipped.
    EXPECT_EQ(findVersionText(kApp + QStringLiteral(" Version X9.9.9 "), kApp),
              QStringLiteral("9.9.9 "));
}

TEST(UpdatePage, VersionTextStopsAtThePageEnd) {
    EXPECT_EQ(findVersionText(kApp + QStringLiteral(" Version V1.2"), kApp), QStringLiteral("1.2"));
    EXPECT_EQ(findVersionText(kApp + QStringLiteral(" Version V"), kApp), QString());
    EXPECT_EQ(findVersionText(kApp + QStringLiteral(" Version "), kApp), QString());
}

TEST(UpdatePage, VersionKeyMustMatchExactly) {
    EXPECT_FALSE(
        findVersionText(QStringLiteral("kestrel32 add-on ringwarden Version V1.2.0 "), kApp));
    EXPECT_FALSE(findVersionText(kApp + QStringLiteral("Version V1.2.0 "), kApp));
    // The first record counts.
    EXPECT_EQ(findVersionText(kApp + QStringLiteral(" Version V1.0.0 ") + kApp +
                                  QStringLiteral(" Version V2.0.0 "),
                              kApp)
                  ->left(5),
              QStringLiteral("1.0.0"));
}

TEST(UpdatePage, UpdateFileNameEndsAtTheFirstBlank) {
    const QString record = QStringLiteral("UpdateFile_") + kApp + u'=';
    EXPECT_EQ(
        findUpdateFileName(QStringLiteral("x ") + record + QStringLiteral("rw-1.2.0.deb y"), kApp),
        QStringLiteral("rw-1.2.0.deb"));
    // The name's first character is always part of it, even a blank.
    EXPECT_EQ(findUpdateFileName(record + QStringLiteral("  z"), kApp), QStringLiteral(" "));
}

TEST(UpdatePage, UpdateFileWithoutClosingBlankIsMissing) {
    const QString record = QStringLiteral("UpdateFile_") + kApp + u'=';
    EXPECT_FALSE(findUpdateFileName(record + QStringLiteral("rw-1.2.0.deb"), kApp));
    EXPECT_FALSE(findUpdateFileName(record, kApp));
    EXPECT_FALSE(findUpdateFileName(record + QStringLiteral("a"), kApp));
    EXPECT_FALSE(findUpdateFileName(QStringLiteral("UpdateFile_Other=x.deb "), kApp));
}

} // namespace
