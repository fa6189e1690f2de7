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
    // --przenies-z-access: the Access file and the new file's name.
    std::string accessFile;
    std::string newFile;
    bool fromAccess() const { return !accessFile.empty(); }
};

// nullopt and a message in error for bad usage.
std::optional<CliOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);

extern const char* const kUsage;

}  // namespace cli
