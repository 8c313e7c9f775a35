#include <gtest/gtest.h>

#include "TestFiles.h"
#include "settings/ProfileText.h"

namespace {

struct ReadCase {
    const char* name;
    QByteArray content;
    const char* section;
    const char* key;
    QString expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsTheValueAsTheWindowsCallDoes) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(profileValueIn(c.content, QString::fromLatin1(c.section), QString::fromLatin1(c.key),
                             QStringLiteral("<default>")),
              c.expected);
}

const QString kDefault = QStringLiteral("<default>");

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    ::testing::Values(
        ReadCase{"plain", bytes("[SETUP]\r\nKEY=value\r\n"), "SETUP", "KEY", "value"},
        ReadCase{"names_ignore_case", bytes("[setup]\r\nkey=v\r\n"), "SETUP", "KEY", "v"},
        ReadCase{"odd_spacing", bytes("  [ SETUP ]  \r\n  KEY  =   a b  \r\n"), "SETUP", "KEY",
                 "a b"},
        ReadCase{"tabs", bytes("[S]\r\n\tKEY\t=\t7\t\r\n"), "S", "KEY", "7"},
        ReadCase{"double_quotes", bytes("[S]\r\nK=\"  x \"\r\n"), "S", "K", "  x "},
        ReadCase{"single_quotes", bytes("[S]\r\nK='x'\r\n"), "S", "K", "x"},
        ReadCase{"only_one_pair", bytes("[S]\r\nK=\"\"x\"\"\r\n"), "S", "K", "\"x\""},
        ReadCase{"mismatched_quotes", bytes("[S]\r\nK=\"x'\r\n"), "S", "K", "\"x'"},
        ReadCase{"lone_quote", bytes("[S]\r\nK=\"\r\n"), "S", "K", "\""},
        ReadCase{"empty_value_is_not_default", bytes("[S]\r\nK=\r\n"), "S", "K", ""},
        ReadCase{"equals_in_value", bytes("[S]\r\nK=a=b\r\n"), "S", "K", "a=b"},
        ReadCase{"comment_skipped", bytes("[S]\r\n;K=commented\r\nK=real\r\n"), "S", "K", "real"},
        ReadCase{"indented_comment", bytes("[S]\r\n  ;K=commented\r\n"), "S", "K", kDefault},
        ReadCase{"line_without_equals", bytes("[S]\r\nK\r\nK=2\r\n"), "S", "K", "2"},
        ReadCase{"only_line_without_equals", bytes("[S]\r\nK\r\n"), "S", "K", kDefault},
        ReadCase{"first_key_wins", bytes("[S]\r\nK=1\r\nK=2\r\n"), "S", "K", "1"},
        ReadCase{"first_section_wins", bytes("[S]\r\nK=1\r\n[S]\r\nK=2\r\n"), "S", "K", "1"},
        ReadCase{"second_duplicate_section_unseen", bytes("[S]\r\nA=1\r\n[s]\r\nK=2\r\n"), "S", "K",
                 kDefault},
        ReadCase{"key_of_other_section", bytes("[A]\r\nK=1\r\n[B]\r\nX=2\r\n"), "B", "K", kDefault},
        ReadCase{"key_before_any_section", bytes("K=1\r\n[S]\r\n"), "S", "K", kDefault},
        ReadCase{"no_section", bytes("[T]\r\nK=1\r\n"), "S", "K", kDefault},
        ReadCase{"header_without_bracket", bytes("[S\r\nK=1\r\n"), "S", "K", kDefault},
        ReadCase{"text_after_bracket", bytes("[S] ; the setup\r\nK=1\r\n"), "S", "K", "1"},
        ReadCase{"cr_only", bytes("[S]\rA=1\rK=2\r"), "S", "K", "2"},
        ReadCase{"lf_only", bytes("[S]\nA=1\nK=2\n"), "S", "K", "2"},
        ReadCase{"no_last_line_end", bytes("[S]\r\nK=last"), "S", "K", "last"},
        ReadCase{"binary_bytes", bytes("\x01\xff\r\n[S]\r\nK=\xe9\x00\x80z\r\n"), "S", "K",
                 QString::fromLatin1(bytes("\xe9\x00\x80z"))},
        ReadCase{"empty_file", QByteArray(), "S", "K", kDefault}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileBuffer, LongValueIsCutToOneLessThanTheBuffer) {
    const QByteArray value(600, 'x');
    const QByteArray content = "[S]\r\nK=" + value + "\r\n";
    EXPECT_EQ(profileValueIn(content, "S", "K", "", 500), QString(499, QLatin1Char('x')));
    EXPECT_EQ(profileValueIn(content, "S", "K", "", 601), QString(600, QLatin1Char('x')));
    EXPECT_EQ(profileValueIn(content, "S", "K", "", 1), QString());
    EXPECT_EQ(profileValueIn(content, "S", "K", "", 0), QString());
}

TEST(ProfileBuffer, DefaultLosesTrailingBlanksAndIsCutToo) {
    EXPECT_EQ(profileValueIn({}, "S", "K", "  ab  ", 500), QStringLiteral("  ab"));
    EXPECT_EQ(profileValueIn({}, "S", "K", "abcdef", 4), QStringLiteral("abc"));
}

struct WriteCase {
    const char* name;
    QByteArray before;
    const char* section;
    const char* key;
    const char* value;
    QByteArray after;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    const QByteArray written =
        profileWithValue(c.before, QString::fromLatin1(c.section), QString::fromLatin1(c.key),
                         QString::fromLatin1(c.value));
    EXPECT_EQ(written, c.after);
}

TEST_P(ProfileWrite, WrittenValueReadsBack) {
    const WriteCase& c = GetParam();
    const QByteArray written =
        profileWithValue(c.before, QString::fromLatin1(c.section), QString::fromLatin1(c.key),
                         QString::fromLatin1(c.value));
    QString expected = QString::fromLatin1(c.value);
    expected.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    EXPECT_EQ(profileValueIn(written, QString::fromLatin1(c.section), QString::fromLatin1(c.key),
                             "<default>"),
              expected.trimmed());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWrite,
    ::testing::Values(
        WriteCase{"new_file", QByteArray(), "SETUP", "K", "V", bytes("[SETUP]\r\nK=V\r\n")},
        WriteCase{"replace_keeps_every_other_byte",
                  bytes("; hello \xff\r\n[A]\r\nX = 1\r\n\r\n[B]\r\nK = old ; x\r\nY=\x00\x01\r\n"),
                  "b", "k", "new",
                  bytes("; hello \xff\r\n[A]\r\nX = 1\r\n\r\n[B]\r\nK=new\r\nY=\x00\x01\r\n")},
        WriteCase{"replace_keeps_the_files_spelling", bytes("[s]\r\n  key = 1\r\n"), "S", "KEY",
                  "2", bytes("[s]\r\nkey=2\r\n")},
        WriteCase{"added_after_last_line_of_its_section", bytes("[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n"),
                  "A", "Z", "3", bytes("[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\nY=2\r\n")},
        WriteCase{"added_to_last_section_without_line_end", bytes("[A]\r\nX=1"), "A", "Z", "3",
                  bytes("[A]\r\nX=1\r\nZ=3\r\n")},
        WriteCase{"added_to_empty_section", bytes("[A]\r\n[B]\r\n"), "A", "Z", "3",
                  bytes("[A]\r\nZ=3\r\n[B]\r\n")},
        WriteCase{"added_to_first_of_duplicate_sections", bytes("[A]\r\nX=1\r\n[A]\r\nZ=9\r\n"),
                  "A", "Z", "3", bytes("[A]\r\nX=1\r\nZ=3\r\n[A]\r\nZ=9\r\n")},
        WriteCase{"commented_key_left_alone", bytes("[A]\r\n;X=1\r\n"), "A", "X", "2",
                  bytes("[A]\r\n;X=1\r\nX=2\r\n")},
        WriteCase{"new_section_after_missing_line_end", bytes("junk"), "N", "K", "V",
                  bytes("junk\r\n[N]\r\nK=V\r\n")},
        WriteCase{"new_section_at_end", bytes("[A]\r\nX=1\r\n"), "N", "K", "V",
                  bytes("[A]\r\nX=1\r\n[N]\r\nK=V\r\n")},
        WriteCase{"lf_only_file", bytes("[A]\nX=1\nY=2\n"), "A", "X", "5",
                  bytes("[A]\nX=5\r\nY=2\n")},
        WriteCase{"cr_only_file", bytes("[A]\rX=1\rY=2\r"), "A", "Y", "5",
                  bytes("[A]\rX=1\rY=5\r\n")},
        WriteCase{"line_break_in_value_becomes_blank", bytes("[A]\r\n"), "A", "X", "1\r\n[B]",
                  bytes("[A]\r\nX=1  [B]\r\n")},
        WriteCase{"high_latin1_value", bytes("[A]\r\nX=1\r\n"), "A", "X", "\xe9t\xe9",
                  bytes("[A]\r\nX=\xe9t\xe9\r\n")}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
