#include <gtest/gtest.h>

#include <QLocale>

#include <cmath>
#include <limits>

#include "settings/NumberText.h"

namespace {

struct NumberCase {
    const char* text;
    double expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class LeadingNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumber, TakesTheLeadingDecimalNumber) {
    EXPECT_DOUBLE_EQ(leadingNumberOf(QString::fromLatin1(GetParam().text)), GetParam().expected);
}

TEST_P(LeadingNumber, IgnoresTheUsersDecimalSeparator) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const double value = leadingNumberOf(QString::fromLatin1(GetParam().text));
    QLocale::setDefault(previous);
    EXPECT_DOUBLE_EQ(value, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumber,
    ::testing::Values(NumberCase{"10", 10}, NumberCase{"  12.5abc", 12.5}, NumberCase{"abc", 0},
                      NumberCase{"", 0}, NumberCase{"-3", -3}, NumberCase{"- 3", -3},
                      NumberCase{"1 2", 12}, NumberCase{"1,5", 1}, NumberCase{".5", 0.5},
                      NumberCase{"1.2.3", 1.2}, NumberCase{"1e3", 1000}, NumberCase{"2E-1x", 0.2},
                      NumberCase{"1e", 1}, NumberCase{"7d2", 700}, NumberCase{"-", 0},
                      NumberCase{".", 0}, NumberCase{"+4", 4}, NumberCase{"4800", 4800},
                      NumberCase{"-120", -120}));

struct RoundCase {
    double value;
    int expected;
};

void PrintTo(const RoundCase& c, std::ostream* os) {
    *os << c.value;
}

class Int16Rounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(Int16Rounding, RoundsHalfToEvenAndHoldsTo16Bits) {
    EXPECT_EQ(toInt16Rounded(GetParam().value), GetParam().expected);
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Values, Int16Rounding,
                         ::testing::Values(RoundCase{0.5, 0}, RoundCase{1.5, 2}, RoundCase{2.5, 2},
                                           RoundCase{3.5, 4}, RoundCase{2.4999, 2},
                                           RoundCase{2.5001, 3}, RoundCase{-0.5, 0},
                                           RoundCase{-1.5, -2}, RoundCase{-2.5, -2},
                                           RoundCase{4567.5, 4568}, RoundCase{32766.5, 32766},
                                           RoundCase{32767.4, 32767}, RoundCase{32767.5, 32767},
                                           RoundCase{40000, 32767}, RoundCase{-32768.5, -32768},
                                           RoundCase{-40000, -32768}, RoundCase{1e300, 32767},
                                           RoundCase{kInf, 32767}, RoundCase{-kInf, -32768},
                                           RoundCase{std::nan(""), 0}));

} // namespace
