#include "app/files/image_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace utils {
namespace {

bool InBounds(std::uint64_t size, std::uint64_t offset, std::size_t count)
{
    return offset <= size && count <= size - offset;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ImageBytes::ReadBytes(std::uint64_t offset, std::size_t count) const
{
    if (!InBounds(Size(), offset, count)) return std::nullopt;
    std::vector<std::uint8_t> bytes(count);
    if (!Read(offset, count, bytes.data())) return std::nullopt;
    return bytes;
}

std::optional<std::uint16_t> ImageBytes::ReadLe16(std::uint64_t offset) const
{
    std::uint8_t raw[2];
    if (!Read(offset, sizeof raw, raw)) return std::nullopt;
    return Le16(raw);
}

std::optional<std::uint32_t> ImageBytes::ReadLe32(std::uint64_t offset) const
{
    std::uint8_t raw[4];
    if (!Read(offset, sizeof raw, raw)) return std::nullopt;
    return Le32(raw);
}

bool SpanImage::Read(std::uint64_t offset, std::size_t count, std::uint8_t* dest) const
{
    if (!InBounds(bytes_.size(), offset, count)) return false;
    if (count > 0) std::memcpy(dest, bytes_.data() + offset, count);
    return true;
}

std::optional<FileImage> FileImage::Open(const std::string& path)
{
    // O_NONBLOCK: opening a named pipe must not wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    FileImage image(fd, 0);
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) return std::nullopt;
    image.size_ = static_cast<std::uint64_t>(info.st_size);
    return image;
}

FileImage::FileImage(FileImage&& other) noexcept : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

FileImage& FileImage::operator=(FileImage&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0) close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
    }
    return *this;
}

FileImage::~FileImage()
{
    if (fd_ >= 0) close(fd_);
}

bool FileImage::Read(std::uint64_t offset, std::size_t count, std::uint8_t* dest) const
{
    if (!InBounds(size_, offset, count)) return false;
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(fd_, dest + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;  // error, or the file shrank under us
        done += static_cast<std::size_t>(got);
    }
    return true;
}

std::uint16_t Le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Le32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(Le16(p)) | (static_cast<std::uint32_t>(Le16(p + 2)) << 16);
}
std::uint64_t Le64(const std::uint8_t* p)
{
    return static_cast<std::uint64_t>(Le32(p)) | (static_cast<std::uint64_t>(Le32(p + 4)) << 32);
}
std::uint16_t Be16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
std::uint32_t Be32(const std::uint8_t* p)
{
    return (static_cast<std::uint32_t>(Be16(p)) << 16) | Be16(p + 2);
}
std::uint64_t Be64(const std::uint8_t* p)
{
    return (static_cast<std::uint64_t>(Be32(p)) << 32) | Be32(p + 4);
}

}  // namespace utils
