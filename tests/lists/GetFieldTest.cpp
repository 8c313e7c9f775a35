// Guards against a list line's tag cut from the wrong place, which would move it to the other list.
#include <gtest/gtest.h>

#include "lists/GetField.h"

TEST(GetField, CutsTheFieldOrGivesTheSeparator) {
    const struct {
        const char* text;
        int index;
        const char* expected;
    } rows[] = {
        {"A|B|C", 0, "A"}, {"A|B|C", 2, "C"}, {"A|B|C", 3, "|"},
        {"ABC", 0, "ABC"}, {"ABC", 1, "|"},   {"|X", 0, ""},
        {"X|", 1, ""},     {"X|", 2, "|"},    {"", 0, ""},
        {"||", 2, ""},     {"A|B", -1, "|"},  {"AB1CD|Acknowledged|more", 1, "Acknowledged"}};
    for (const auto& row : rows)
        EXPECT_EQ(GetField(row.index, "|", row.text), row.expected) << row.text << ' ' << row.index;
    EXPECT_EQ(GetField(1, "x", "aXbxc"), QStringLiteral("c"));
}
