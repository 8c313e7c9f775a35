#include <gtest/gtest.h>

#include "CommandLine.h"

namespace {

CommandLineResult parse(const QStringList& args, HostOptions& options, QString& text) {
    return parseCommandLine(QStringList{QStringLiteral("/x/kestrel32")} + args, options, text);
}

TEST(CommandLine, readsEveryOption) {
    HostOptions o;
    QString text;
    ASSERT_EQ(parse({"--scenario", "s.json", "--folder", "/tmp/k", "--journal=j.jsonl",
                     "--quit-after", "2.5"},
                    o, text),
              CommandLineResult::Run)
        << text.toStdString();
    EXPECT_EQ(o.scenarioFile, QStringLiteral("s.json"));
    EXPECT_EQ(o.folder, QStringLiteral("/tmp/k"));
    EXPECT_EQ(o.journalFile, QStringLiteral("j.jsonl"));
    ASSERT_TRUE(o.quitAfterSeconds.has_value());
    EXPECT_DOUBLE_EQ(*o.quitAfterSeconds, 2.5);
}

TEST(CommandLine, nothingGivenMeansDefaults) {
    HostOptions o;
    QString text;
    ASSERT_EQ(parse({}, o, text), CommandLineResult::Run);
    EXPECT_TRUE(o.scenarioFile.isEmpty());
    EXPECT_FALSE(o.quitAfterSeconds.has_value());
}

TEST(CommandLine, helpNamesEveryOption) {
    HostOptions o;
    QString text;
    ASSERT_EQ(parse({"--help"}, o, text), CommandLineResult::Help);
    for (const char* option : {"--scenario", "--folder", "--journal", "--quit-after"})
        EXPECT_TRUE(text.contains(QLatin1String(option))) << option;
    EXPECT_TRUE(text.contains(QStringLiteral("Usage: kestrel32"))) << text.toStdString();
}

struct BadLine {
    QStringList args;
    const char* message;
};

void PrintTo(const BadLine& c, std::ostream* os) {
    *os << c.args.join(QLatin1Char(' ')).toStdString();
}

class BadCommandLines : public ::testing::TestWithParam<BadLine> {};

TEST_P(BadCommandLines, areRefusedWithAMessage) {
    HostOptions o;
    QString text;
    EXPECT_EQ(parse(GetParam().args, o, text), CommandLineResult::Error);
    EXPECT_TRUE(text.startsWith(QLatin1String(GetParam().message))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    , BadCommandLines,
    ::testing::Values(BadLine{{"--bogus"}, "kestrel32: Unknown option 'bogus'."},
                      BadLine{{"--scenario"}, "kestrel32: Missing value after '--scenario'."},
                      BadLine{{"--quit-after", "soon"},
                              "kestrel32: --quit-after needs a number of seconds, not 'soon'"},
                      BadLine{{"--quit-after", "-1"},
                              "kestrel32: --quit-after needs a number of seconds, not '-1'"},
                      BadLine{{"extra"}, "kestrel32: unexpected argument 'extra'"},
                      BadLine{{"--folder", "a", "--folder", "b"},
                              "kestrel32: --folder given more than once"},
                      BadLine{{"--journal="}, "kestrel32: --journal needs a value"}));

} // namespace
