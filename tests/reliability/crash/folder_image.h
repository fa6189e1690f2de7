#pragma once
// What a folder holds, down to every byte: read from the disk, built by the
// crash model, written back to the disk to be opened by SQLite and the runner.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace crash {

// A file's bytes, shared between the images that hold them unchanged.
class Bytes {
public:
    explicit Bytes(std::string data = {}) : data_(std::move(data)) {}
    const std::string& data() const { return data_; }
    std::uint64_t hash() const;
    // Moves the bytes out, to be edited and put back by assignment.
    std::string Take() &&
    {
        hashed_ = false;
        return std::move(data_);
    }

private:
    std::string data_;
    mutable std::uint64_t hash_ = 0;
    mutable bool hashed_ = false;
};

using SharedBytes = std::shared_ptr<const Bytes>;

struct Entry {
    bool folder = false;
    unsigned mode = 0;  // permission bits
    SharedBytes bytes;  // files only
};

// By path relative to the folder ("a.mdb", "sub/b.tmp"); the folder itself is not listed.
using FolderImage = std::map<std::string, Entry>;

std::uint64_t HashBytes(const std::string& data);
std::uint64_t HashImage(const FolderImage& image);

// A whole file's bytes; std::runtime_error when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

FolderImage ReadFolder(const std::filesystem::path& folder);

// Empties folder and writes image into it.
void WriteFolder(const FolderImage& image, const std::filesystem::path& folder);

// What differs between two images, one line per path; empty when equal.
std::string Differences(const FolderImage& expected, const FolderImage& found);

}  // namespace crash
