// Guards against an update offered when none is newer, or missed when one is (1.6 against 1.57).
#include <gtest/gtest.h>

#include "support/UpdateVersion.h"

namespace {

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
    EXPECT_EQ(versionValueText(1, 10, "."), QStringLiteral("1.1"));
    EXPECT_EQ(versionValueText(2, 0, "."), QStringLiteral("2"));
    EXPECT_EQ(versionValueText(1, 57, ","), QStringLiteral("1,57"));
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

} // namespace
