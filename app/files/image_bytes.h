#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace utils {

// Random access to the bytes of an executable image. Every read is checked
// against the size, so hostile offsets fail instead of reading past the end.
class ImageBytes {
public:
    virtual ~ImageBytes() = default;
    virtual std::uint64_t Size() const = 0;
    // Copies count bytes from offset into dest; false when any of them lies
    // outside the image or cannot be read.
    virtual bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* dest) const = 0;

    // The bytes, or nothing when they cannot all be read.
    std::optional<std::vector<std::uint8_t>> ReadBytes(std::uint64_t offset, std::size_t count) const;
    std::optional<std::uint16_t> ReadLe16(std::uint64_t offset) const;
    std::optional<std::uint32_t> ReadLe32(std::uint64_t offset) const;
};

// An image held in memory (tests, fuzzing).
class SpanImage final : public ImageBytes {
public:
    explicit SpanImage(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* dest) const override;

private:
    std::span<const std::uint8_t> bytes_;
};

// A regular file read piecewise with pread, so a large executable is never
// loaded whole. Open() gives nothing for a missing, unreadable or special file.
class FileImage final : public ImageBytes {
public:
    static std::optional<FileImage> Open(const std::string& path);
    FileImage(FileImage&& other) noexcept;
    FileImage& operator=(FileImage&& other) noexcept;
    FileImage(const FileImage&) = delete;
    FileImage& operator=(const FileImage&) = delete;
    ~FileImage() override;

    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* dest) const override;

private:
    FileImage(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Little- and big-endian integers from a byte span whose size the caller checked.
std::uint16_t Le16(const std::uint8_t* p);
std::uint32_t Le32(const std::uint8_t* p);
std::uint64_t Le64(const std::uint8_t* p);
std::uint16_t Be16(const std::uint8_t* p);
std::uint32_t Be32(const std::uint8_t* p);
std::uint64_t Be64(const std::uint8_t* p);

}  // namespace utils
