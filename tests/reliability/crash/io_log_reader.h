#pragma once
// Reads the I/O recorder's log back, with paths relative to the watched folder.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/reliability/crash/io_log.h"

namespace crash {

struct IoEvent {
    crash_log::Call call{};
    int fd = -1;
    int fd2 = -1;
    int flags = 0;
    std::int64_t a = 0;
    std::int64_t b = 0;
    std::string path;  // relative to the folder; "" is the folder itself
    std::string path2;
    std::string data;
};

// folder is the absolute path the recorder watched.
std::vector<IoEvent> ReadIoLog(const std::filesystem::path& log, const std::string& folder);

}  // namespace crash
