// Guards against a misread radius or position (locale, blanks, overflow) and a wrong distance text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numbers/NumericText.h"

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumericText, NumericValueReadsTheLeadingNumberWhateverTheLocale) {
    const struct {
        const char* text;
        double value;
    } rows[] = {{"10", 10},          {"", 0},          {"abc", 0},
                {" 10 km", 10},      {"- 5", -5},      {"+5", 5},
                {"--5", 0},          {"1 000", 1000},  {"1\t0\n0", 100},
                {"1e3", 1000},       {"2.5E-1", 0.25}, {"1 e 3", 1000},
                {"1e", 1},           {"1e+", 1},       {"7d2", 700},
                {".5", 0.5},         {"5.", 5},        {"1.2.3", 1.2},
                {"1,5", 1},          {".", 0},         {"-", 0},
                {"\xc2\xa0\x35", 0}, {"1e999", 0},     {"-1e999", 0},
                {"1e-999", 0},       {"1e308", 1e308}, {"0000000000000000000000000007", 7}};
    const QLocale saved;
    QLocale::setDefault(kGerman);
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(numericValue(QString::fromUtf8(row.text)), row.value) << row.text;
    QLocale::setDefault(saved);
    EXPECT_EQ(numericValue(QString(100000, u'9')), 0.0); // beyond a double: nothing in range
}

TEST(NumericText, DistanceTextFollowsTheMaskAndTheLocaleSeparator) {
    const struct {
        double value;
        const QLocale& locale;
        const char* text;
    } rows[] = {{0.25, QLocale::c(), ".25"},      {12, QLocale::c(), "12."},
                {57.125, QLocale::c(), "57.125"}, {1.23456, QLocale::c(), "1.235"},
                {0, QLocale::c(), "."},           {0.0004, QLocale::c(), "."},
                {0.9996, QLocale::c(), "1."},     {12345678.125, QLocale::c(), "12345678.125"},
                {-0.25, QLocale::c(), "-.25"},    {-0.0001, QLocale::c(), "."},
                {10.1, QLocale::c(), "10.1"},     {0.25, kGerman, ",25"},
                {1234.5, kGerman, "1234,5"}};
    for (const auto& row : rows)
        EXPECT_EQ(distanceText(row.value, row.locale), QString::fromLatin1(row.text)) << row.value;
}

TEST(NumericText, ToInt16RoundsHalfToEvenAndHoldsTo16Bits) {
    const struct {
        double value;
        int expected;
    } rows[] = {{0.5, 0},        {1.5, 2},           {2.5, 2},         {-1.5, -2},
                {2.5001, 3},     {4567.5, 4568},     {32766.5, 32766}, {32767.5, 32767},
                {40000, 32767},  {-32768.5, -32768}, {-40000, -32768}, {kInf, 32767},
                {-kInf, -32768}, {std::nan(""), 0}};
    for (const auto& row : rows)
        EXPECT_EQ(toInt16Rounded(row.value), row.expected) << row.value;
}

} // namespace
