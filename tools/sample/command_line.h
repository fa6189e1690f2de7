#pragma once
// The command line of vidarkon-sample.

#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tools/sample/sample_catalogue.h"

namespace sample {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    enum class Action { WriteFile, WriteEveryLevel, Help, ListLevels };
    Action action = Action::WriteFile;
    SampleOptions options;
    std::filesystem::path target;  // the file, or the folder of WriteEveryLevel
};

// arguments without the program name.
CommandLine ParseCommandLine(std::span<const std::string_view> arguments);
std::string HelpText();
std::string LevelList();

}  // namespace sample
