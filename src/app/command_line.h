// The program's command line, read before the toolkit starts so that
// --help, --version and a mistyped option never open a window or need a
// display. Everything else the program is told comes from settings.ini and
// the environment (see the manual page).
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class CommandLineAction {
    Run,          // no options: start the program
    ShowHelp,     // print HelpText() to standard output, exit 0
    ShowVersion,  // print VersionText() to standard output, exit 0
    Refuse,       // print `error` (one line) to standard error, exit 2
};

struct CommandLine {
    CommandLineAction action = CommandLineAction::Run;
    std::string error;  // for Refuse: one line, without its line break
};

// The arguments after the program's name, read in order: the first that
// is --help or --version decides; the first that is neither is refused.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// "quillery 0.1": the name and the version from the project's CMake file.
std::string VersionText();

// The Chinese usage text, ending with a line break.
std::string HelpText();

// Exit status for a refused command line, as GNU tools use for misuse.
constexpr int kCommandLineMisuse = 2;

// What main() does first: answers --help, --version or a refused command
// line on the standard streams and returns the exit status; nothing when
// the program is to start.
std::optional<int> AnswerCommandLine(int argc, char** argv);
