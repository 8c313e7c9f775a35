// Guards against Ringwarden starting with an argument it ignores, or --help and --version
// that do not end the program cleanly.
#include <gtest/gtest.h>

#include "app/ProgramArguments.h"

namespace {

TEST(ProgramArguments, helpAndVersionPrintAndEverythingElseIsRefusedInOneLine) {
    using Outcome = ProgramArguments::Outcome;
    for (const auto& [arguments, outcome, exitCode, text] :
         std::vector<std::tuple<QStringList, Outcome, int, QString>>{
             {{}, Outcome::Run, 0, ""},
             {{"--version"}, Outcome::Print, 0, "Ringwarden 1.1.0\n"},
             {{"--help"}, Outcome::Print, 0, "Usage: Ringwarden [--help | --version]\n"},
             {QStringList{"--frobnicate"}, Outcome::Refuse, 2,
              "Ringwarden: unexpected argument '--frobnicate' (it takes none but --help and "
              "--version)"},
             {QStringList{"--help", "extra"}, Outcome::Refuse, 2,
              "Ringwarden: unexpected argument 'extra' (it takes none but --help and "
              "--version)"}}) {
        const ProgramArguments read = readProgramArguments(QStringList{"Ringwarden"} + arguments);
        EXPECT_EQ(read.outcome, outcome) << arguments.join(' ').toStdString();
        EXPECT_EQ(read.exitCode, exitCode) << arguments.join(' ').toStdString();
        EXPECT_TRUE(text.isEmpty() ? read.text.isEmpty() : read.text.startsWith(text))
            << read.text.toStdString();
        EXPECT_FALSE(read.outcome == Outcome::Refuse && read.text.contains('\n'));
    }
}

} // namespace
