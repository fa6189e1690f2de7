#include "tests/support/recording_host.h"

#include <algorithm>
#include <filesystem>

namespace patch_test {

// Plain *.mdb files in name order: enough for the run's tests, which do not
// exercise the listing rules themselves.
std::string RecordingHost::ListFiles(const std::string& folder, const std::string& /*mask*/)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".mdb")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string text;
    for (const auto& name : names) text += name + "\r\n";
    return text;
}

}  // namespace patch_test
