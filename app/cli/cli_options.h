#pragma once
#include <optional>
#include <string>
#include <vector>

namespace cli {

struct CliOptions {
    std::string folder;          // ends in '/'
    std::string folderArgument;  // as given ("." when none), for messages
    bool keepIdCd = true;        // the window's "Zachowaj zawartość pola ID_CD"
    bool checkOnly = false;
    bool help = false;
};

// nullopt and a message in error for bad usage.
std::optional<CliOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);

extern const char* const kUsage;

}  // namespace cli
