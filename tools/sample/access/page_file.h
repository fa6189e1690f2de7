#pragma once
// The file as a run of 4 KB pages: numbers are handed out first, pages are
// written when complete, in any order.

#include <cstdint>
#include <filesystem>
#include <span>

namespace sample::access {

class PageFile {
public:
    // Creates the file, or empties an existing one.
    explicit PageFile(const std::filesystem::path& path);
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    std::uint32_t allocate(std::uint32_t count = 1);
    std::uint32_t pageCount() const { return next_; }
    // Whole pages, from page on.
    void write(std::uint32_t page, std::span<const std::uint8_t> pages);
    // Reports a failure that the destructor would have to ignore.
    void close();

private:
    std::filesystem::path path_;
    int fd_ = -1;
    std::uint32_t next_ = 0;
};

}  // namespace sample::access
