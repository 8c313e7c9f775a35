#include <cmath>
#include <limits>
#include <ostream>

#include <QLocale>
#include <gtest/gtest.h>

#include "engine/SharedRules.h"

namespace {

struct NumberCase {
    const char* text;
    double value;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class NumericValueTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumericValueTest, readsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(numericValue(QString::fromUtf8(GetParam().text)), GetParam().value)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumericValueTest,
    ::testing::Values(NumberCase{"10", 10}, NumberCase{"", 0}, NumberCase{"abc", 0},
                      NumberCase{" 10 km", 10}, NumberCase{"10 km", 10}, NumberCase{"-5", -5},
                      NumberCase{"+5", 5}, NumberCase{"- 5", -5}, NumberCase{"1 000", 1000},
                      NumberCase{"1\t0\n0", 100}, NumberCase{"1e3", 1000}, NumberCase{"1E3", 1000},
                      NumberCase{"2.5e-1", 0.25}, NumberCase{"1 e 3", 1000}, NumberCase{"1e", 1},
                      NumberCase{"1e+", 1}, NumberCase{"1ex", 1}, NumberCase{"1d2", 100},
                      NumberCase{".5", 0.5}, NumberCase{"5.", 5}, NumberCase{"1.2.3", 1.2},
                      NumberCase{"1,5", 1}, NumberCase{".", 0}, NumberCase{"-", 0},
                      NumberCase{"--5", 0}, NumberCase{"12.75km", 12.75},
                      NumberCase{"\xc2\xa0"
                                 "5",
                                 0},
                      NumberCase{"1e999", 0}, NumberCase{"-1e999", 0}, NumberCase{"1e-999", 0},
                      NumberCase{"1e308", 1e308},
                      NumberCase{"00000000000000000000000000000000000000000000000007", 7}));

TEST(NumericValue, ignoresTheLocaleDecimalSeparator) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_DOUBLE_EQ(numericValue(QStringLiteral("2.5")), 2.5);
    EXPECT_DOUBLE_EQ(numericValue(QStringLiteral("2,5")), 2.0);
    QLocale::setDefault(saved);
}

TEST(NumericValue, readsAHundredKilobyteText) {
    QString text(100000, u'9');
    EXPECT_EQ(numericValue(text), 0.0); // beyond a double: no usable number
    text = QStringLiteral("3") + QString(100000, u'x');
    EXPECT_EQ(numericValue(text), 3.0);
}

struct TextCase {
    double value;
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.value;
}

class DistanceTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DistanceTextTest, followsTheMask) {
    EXPECT_EQ(distanceText(GetParam().value, QLocale::c()), QString::fromLatin1(GetParam().text))
        << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, DistanceTextTest,
    ::testing::Values(TextCase{0.25, ".25"}, TextCase{12, "12."}, TextCase{3.25, "3.25"},
                      TextCase{1.25, "1.25"}, TextCase{57.125, "57.125"}, TextCase{0, "."},
                      TextCase{2.5, "2.5"}, TextCase{1.23456, "1.235"}, TextCase{0.0004, "."},
                      TextCase{0.9996, "1."}, TextCase{99999, "99999."},
                      TextCase{123456.5, "123456.5"}, TextCase{12345678.125, "12345678.125"},
                      TextCase{-3.5, "-3.5"}, TextCase{-0.25, "-.25"}, TextCase{-0.0001, "."},
                      TextCase{10.1, "10.1"}));

TEST(DistanceText, usesTheLocaleDecimalSeparator) {
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(distanceText(0.25, german), QStringLiteral(",25"));
    EXPECT_EQ(distanceText(12, german), QStringLiteral("12,"));
    EXPECT_EQ(distanceText(1234.5, german), QStringLiteral("1234,5")); // no group separator
}

TEST(DistanceText, defaultsToTheDefaultLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(distanceText(3.25), QStringLiteral("3,25"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(distanceText(3.25), QStringLiteral("3.25"));
    QLocale::setDefault(saved);
}

TEST(DistanceText, survivesValuesBeyondTheMask) {
    EXPECT_FALSE(distanceText(std::numeric_limits<double>::infinity(), QLocale::c()).isEmpty());
    EXPECT_FALSE(distanceText(std::nan(""), QLocale::c()).isEmpty());
    EXPECT_TRUE(
        distanceText(1e20, QLocale::c()).startsWith(QStringLiteral("100000000000000000000")));
}

} // namespace
