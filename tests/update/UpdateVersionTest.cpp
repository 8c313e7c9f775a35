#include <gtest/gtest.h>

#include "support/UpdateVersion.h"

namespace {

struct Comparison {
    UpdateVersion published;
    UpdateVersion own;
    bool newer;
};

void PrintTo(const Comparison& row, std::ostream* out) {
    *out << versionDottedText(row.published).toStdString() << " vs "
         << versionDottedText(row.own).toStdString();
}

class VersionComparison : public ::testing::TestWithParam<Comparison> {};

TEST_P(VersionComparison, DecidesByDecimalValueThenRevision) {
    const Comparison& row = GetParam();
    EXPECT_EQ(isNewerVersion(row.published, row.own), row.newer);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VersionComparison,
    ::testing::Values(Comparison{{1, 6, 0}, {1, 57, 0}, true},  // 1.6 > 1.57
                      Comparison{{1, 57, 0}, {1, 6, 0}, false}, // and not the other way
                      Comparison{{1, 10, 0}, {1, 1, 0}, false}, // 1.10 reads as 1.1
                      Comparison{{1, 10, 1}, {1, 1, 0}, true},  // then the revision decides
                      Comparison{{1, 1, 0}, {1, 10, 3}, false}, // equal value, lower revision
                      Comparison{{1, 1, 0}, {1, 1, 0}, false},  // equal in all: up to date
                      Comparison{{2, 0, 0}, {1, 99, 9}, true},  // whole part first
                      Comparison{{1, 99, 9}, {2, 0, 0}, false},
                      Comparison{{1, 2, 0}, {1, 1, 9}, true},    // value beats revision
                      Comparison{{1, 100, 0}, {1, 1, 5}, false}, // 1.100 == 1.1
                      Comparison{{1, 5, 0}, {1, 4, 9}, true},
                      Comparison{{0, 32767, 0}, {1, 0, 0}, false},
                      Comparison{{1, 32767, 0}, {1, 3276, 0}, true}));

TEST(VersionValueText, ShortestFormWithTheGivenSeparator) {
    EXPECT_EQ(versionValueText(1, 1, QStringLiteral(".")), QStringLiteral("1.1"));
    EXPECT_EQ(versionValueText(1, 10, QStringLiteral(".")), QStringLiteral("1.1"));
    EXPECT_EQ(versionValueText(2, 0, QStringLiteral(".")), QStringLiteral("2"));
    EXPECT_EQ(versionValueText(1, 57, QStringLiteral(",")), QStringLiteral("1,57"));
    EXPECT_EQ(versionValueText(0, 5, QStringLiteral(".")), QStringLiteral("0.5"));
}

struct Parse {
    const char* text;
    bool found;
    UpdateVersion version;
};

void PrintTo(const Parse& row, std::ostream* out) {
    *out << '"' << row.text << '"';
}

class VersionText : public ::testing::TestWithParam<Parse> {};

TEST_P(VersionText, NeedsTwoDotsAndAClosingBlank) {
    const Parse& row = GetParam();
    const auto version = parseVersionText(QString::fromLatin1(row.text));
    ASSERT_EQ(version.has_value(), row.found) << row.text;
    if (row.found) {
        EXPECT_EQ(*version, row.version) << row.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, VersionText,
    ::testing::Values(Parse{"1.2.0 ", true, {1, 2, 0}}, Parse{"1.10.0 <br", true, {1, 10, 0}},
                      Parse{"12.345.67 ", true, {12, 345, 67}},
                      Parse{"1.2.0", false, {}},           // no closing blank
                      Parse{"1.2 0 ", false, {}},          // one dot
                      Parse{"120 ", false, {}},            // no dots at all
                      Parse{"", false, {}},                // page ended
                      Parse{"a.b.c ", true, {0, 0, 0}},    // pieces without digits
                      Parse{"1x.2y.3z ", true, {1, 2, 3}}, // digits at the start count
                      Parse{"32767.0.0 ", true, {32767, 0, 0}},
                      Parse{"32768.0.0 ", false, {}}, // over 16 bits
                      Parse{"1.99999.0 ", false, {}}, Parse{"1.0.40000 ", false, {}},
                      Parse{"99999999999999999999.1.1 ", false, {}},
                      Parse{"-1.0.0 ", false, {}}, // no negative versions
                      Parse{"+1.0.0 ", true, {1, 0, 0}}));

TEST(VersionPiece, SkipsBlanksAndReadsLeadingDigits) {
    EXPECT_EQ(readVersionPiece(u" 1 2"), 12);
    EXPECT_EQ(readVersionPiece(u"7abc"), 7);
    EXPECT_EQ(readVersionPiece(u""), 0);
    EXPECT_EQ(readVersionPiece(u"-0"), 0);
    EXPECT_EQ(readVersionPiece(u"32767"), 32767);
    EXPECT_FALSE(readVersionPiece(u"32768").has_value());
}

} // namespace
