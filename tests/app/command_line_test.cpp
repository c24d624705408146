// The command line: what each argument list makes the program do, and the
// texts it prints.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
    std::vector<std::string> args;
    CommandLineAction action;
    std::string error;  // the whole line for Refuse
};

const std::string kHint = "。用 quillery --help 查看可用的选项。";

TEST(CommandLine, EachArgumentListDecidesOneAction) {
    const std::vector<Case> cases = {
        {{}, CommandLineAction::Run, ""},
        {{"--help"}, CommandLineAction::ShowHelp, ""},
        {{"-h"}, CommandLineAction::ShowHelp, ""},
        {{"--version"}, CommandLineAction::ShowVersion, ""},
        {{"-V"}, CommandLineAction::ShowVersion, ""},
        // In order: the first argument that decides, decides.
        {{"--version", "--help"}, CommandLineAction::ShowVersion, ""},
        {{"--help", "--bogus"}, CommandLineAction::ShowHelp, ""},
        {{"--bogus", "--help"}, CommandLineAction::Refuse, "quillery: 无法识别的选项“--bogus”" + kHint},
        {{"-x"}, CommandLineAction::Refuse, "quillery: 无法识别的选项“-x”" + kHint},
        // Near misses are not guessed at.
        {{"--Help"}, CommandLineAction::Refuse, "quillery: 无法识别的选项“--Help”" + kHint},
        {{"--version=1"}, CommandLineAction::Refuse, "quillery: 无法识别的选项“--version=1”" + kHint},
        {{"-hV"}, CommandLineAction::Refuse, "quillery: 无法识别的选项“-hV”" + kHint},
        {{"--"}, CommandLineAction::Refuse, "quillery: 无法识别的选项“--”" + kHint},
        // The program opens no files named on its command line.
        {{"帖子.txt"}, CommandLineAction::Refuse, "quillery: 不接受参数“帖子.txt”" + kHint},
        {{"-"}, CommandLineAction::Refuse, "quillery: 不接受参数“-”" + kHint},
        {{""}, CommandLineAction::Refuse, "quillery: 不接受参数“”" + kHint},
        // The error stays one line whatever the argument holds.
        {{"a\nb\tc\x7f"}, CommandLineAction::Refuse, "quillery: 不接受参数“a?b?c?”" + kHint},
        {{"--x\r"}, CommandLineAction::Refuse, "quillery: 无法识别的选项“--x?”" + kHint},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.args) shown += "[" + a + "]";
        const CommandLine parsed = ParseCommandLine(c.args);
        EXPECT_EQ(parsed.action, c.action) << shown;
        EXPECT_EQ(parsed.error, c.error) << shown;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << shown;
    }
    EXPECT_EQ(VersionText(), std::string("quillery ") + QUILLERY_PROJECT_VERSION);
    const std::string help = HelpText();
    EXPECT_EQ(help.rfind("用法：quillery [选项]\n", 0), 0u) << help;
    for (const char* option : {"-h, --help", "-V, --version", "settings.ini", "man quillery"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(help.back(), '\n');
}

}  // namespace
