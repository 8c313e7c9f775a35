// Guards against a bad kestrel32 command line taken silently. (The options given are read by
// every test that starts the tracker: a misread one stops it or changes what it does.)
#include <gtest/gtest.h>

#include "CommandLine.h"

namespace {

CommandLineResult parse(const QStringList& args, HostOptions& options, QString& text) {
    // No settings file: the operator's own must not change what the command line means.
    return parseCommandLine(QStringList{QStringLiteral("/x/kestrel32")} + args, options, text,
                            QString());
}

class BadCommandLines : public ::testing::TestWithParam<std::pair<QStringList, const char*>> {};

TEST_P(BadCommandLines, areRefusedWithAMessage) {
    HostOptions o;
    QString text;
    EXPECT_EQ(parse(GetParam().first, o, text), CommandLineResult::Error);
    EXPECT_TRUE(text.startsWith(QLatin1String(GetParam().second))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadCommandLines,
    ::testing::Values(std::pair{QStringList{"--scenario"},
                                "kestrel32: Missing value after '--scenario'."},
                      std::pair{QStringList{"--quit-after", "-1"},
                                "kestrel32: --quit-after needs a number of seconds, not '-1'"},
                      std::pair{QStringList{"extra"}, "kestrel32: unexpected argument 'extra'"},
                      std::pair{QStringList{"--folder", "a", "--folder", "b"},
                                "kestrel32: --folder given more than once"}));

} // namespace
