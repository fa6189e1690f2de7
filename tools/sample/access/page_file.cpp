#include "tools/sample/access/page_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "tools/sample/access/bytes.h"

namespace sample::access {

namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path)
{
    throw std::runtime_error(what + " " + path.string() + ": " + std::strerror(errno));
}

}  // namespace

PageFile::PageFile(const std::filesystem::path& path) : path_(path)
{
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) fail("cannot create", path);
}

PageFile::~PageFile()
{
    if (fd_ >= 0) ::close(fd_);
}

std::uint32_t PageFile::allocate(std::uint32_t count)
{
    // A page number must fit the three bytes of a row address.
    if (next_ + count > 0xFFFFFFu) throw std::length_error("the file would exceed 16,777,215 pages");
    const std::uint32_t first = next_;
    next_ += count;
    return first;
}

void PageFile::write(std::uint32_t page, std::span<const std::uint8_t> pages)
{
    if (pages.size() % pageSize != 0 || page + pages.size() / pageSize > next_)
        throw std::logic_error("page write outside the allocated pages");
    auto offset = static_cast<off_t>(page) * static_cast<off_t>(pageSize);
    std::size_t done = 0;
    while (done < pages.size()) {
        const ssize_t written = ::pwrite(fd_, pages.data() + done, pages.size() - done, offset);
        if (written < 0) {
            if (errno == EINTR) continue;
            fail("cannot write", path_);
        }
        done += static_cast<std::size_t>(written);
        offset += written;
    }
}

void PageFile::close()
{
    if (fd_ < 0) return;
    // Pages never written read as zeros; the file still ends at the last page.
    if (::ftruncate(fd_, static_cast<off_t>(next_) * static_cast<off_t>(pageSize)) != 0) fail("cannot size", path_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail("cannot close", path_);
}

}  // namespace sample::access
