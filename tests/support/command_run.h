#pragma once
// A program run through the shell as a script would run it: its exit status
// and everything it wrote, standard error included.

#include <string>

namespace test_support {

struct CommandResult {
    int status;  // the exit status; -1 when the program did not exit by itself
    std::string output;
};

CommandResult RunCommand(const std::string& commandLine);

// path in single quotes, for a command line.
std::string ShellQuoted(const std::string& path);

}  // namespace test_support
