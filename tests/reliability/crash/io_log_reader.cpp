#include "tests/reliability/crash/io_log_reader.h"

#include "tests/reliability/crash/folder_image.h"

#include <algorithm>
#include <stdexcept>

namespace crash {

namespace {

std::string Relative(const std::string& path, const std::string& folder)
{
    if (path.empty()) return path;
    if (path == folder) return "";
    if (path.rfind(folder + "/", 0) != 0) throw std::runtime_error("the log names a path outside the folder: " + path);
    return path.substr(folder.size() + 1);
}

}  // namespace

std::vector<IoEvent> ReadIoLog(const std::filesystem::path& log, const std::string& folder)
{
    const std::string bytes = ReadFileBytes(log);
    std::vector<IoEvent> events;
    std::size_t at = 0;
    const auto take = [&](std::size_t size) {
        if (bytes.size() - at < size) throw std::runtime_error("the I/O log ends inside a record");
        std::string part = bytes.substr(at, size);
        at += size;
        return part;
    };
    while (at < bytes.size()) {
        crash_log::Record head{};
        const std::string headBytes = take(sizeof head);
        std::copy(headBytes.begin(), headBytes.end(), reinterpret_cast<char*>(&head));
        if (head.magic != crash_log::kMagic) throw std::runtime_error("the I/O log is damaged");
        IoEvent event;
        event.call = head.call;
        event.fd = head.fd;
        event.fd2 = head.fd2;
        event.flags = head.flags;
        event.a = head.a;
        event.b = head.b;
        event.path = Relative(take(head.pathSize), folder);
        event.path2 = Relative(take(head.path2Size), folder);
        event.data = take(head.dataSize);
        events.push_back(std::move(event));
    }
    return events;
}

}  // namespace crash
