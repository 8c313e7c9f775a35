#include <gtest/gtest.h>

#include "lists/GetField.h"

namespace {

struct FieldCase {
    const char* text;
    int index;
    const char* expected;
};

void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" " << c.index;
}

class GetFieldCases : public ::testing::TestWithParam<FieldCase> {};

TEST_P(GetFieldCases, CutsTheFieldOut) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(GetField(c.index, QStringLiteral("|"), QString::fromLatin1(c.text)),
              QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, GetFieldCases,
                         ::testing::Values(FieldCase{"A|B|C", 0, "A"}, FieldCase{"A|B|C", 1, "B"},
                                           FieldCase{"A|B|C", 2, "C"}, FieldCase{"A|B|C", 3, "|"},
                                           FieldCase{"A|B|C", 7, "|"}, FieldCase{"ABC", 0, "ABC"},
                                           FieldCase{"ABC", 1, "|"}, FieldCase{"|X", 0, ""},
                                           FieldCase{"|X", 1, "X"}, FieldCase{"X|", 0, "X"},
                                           FieldCase{"X|", 1, ""}, FieldCase{"X|", 2, "|"},
                                           FieldCase{"", 0, ""}, FieldCase{"", 1, "|"},
                                           FieldCase{"||", 1, ""}, FieldCase{"||", 2, ""},
                                           FieldCase{"AB1CD|Acknowledged|more", 1, "Acknowledged"},
                                           FieldCase{"A|B", -1, "|"}));

TEST(GetField, OtherSeparatorsAndCaseAreExact) {
    EXPECT_EQ(GetField(1, QStringLiteral(","), QStringLiteral("a|b,c")), QStringLiteral("c"));
    EXPECT_EQ(GetField(1, QStringLiteral("x"), QStringLiteral("aXbxc")), QStringLiteral("c"));
}

} // namespace
