#include "tests/reliability/crash/folder_image.h"

#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <stdexcept>

namespace crash {

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;

std::uint64_t Rotate(std::uint64_t value, int bits)
{
    return (value << bits) | (value >> (64 - bits));
}

std::uint64_t Mix(std::uint64_t hash, std::uint64_t value)
{
    hash ^= Rotate(value * kPrime2, 31) * kPrime1;
    return Rotate(hash, 27) * kPrime1 + 0x85EBCA77C2B2AE63ULL;
}

unsigned Permissions(const fs::path& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) throw std::runtime_error("cannot stat " + path.string());
    return info.st_mode & 07777;
}

}  // namespace

std::string ReadFileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot read " + path.string());
    return bytes;
}

std::uint64_t HashBytes(const std::string& data)
{
    // Four lanes of 8-byte words, as xxHash does: fast enough to hash every state.
    std::uint64_t lanes[4] = {kPrime1, kPrime2, ~kPrime1, ~kPrime2};
    std::size_t at = 0;
    for (; at + 32 <= data.size(); at += 32) {
        for (int lane = 0; lane < 4; ++lane) {
            std::uint64_t word = 0;
            std::memcpy(&word, data.data() + at + 8 * lane, 8);
            lanes[lane] = Rotate(lanes[lane] + word * kPrime2, 31) * kPrime1;
        }
    }
    std::uint64_t hash = data.size();
    for (const auto lane : lanes) hash = Mix(hash, lane);
    for (; at < data.size(); ++at) hash = Mix(hash, static_cast<unsigned char>(data[at]));
    return hash;
}

std::uint64_t Bytes::hash() const
{
    if (!hashed_) {
        hash_ = HashBytes(data_);
        hashed_ = true;
    }
    return hash_;
}

std::uint64_t HashImage(const FolderImage& image)
{
    std::uint64_t hash = image.size();
    for (const auto& [path, entry] : image) {
        hash = Mix(hash, HashBytes(path));
        hash = Mix(hash, entry.folder ? 1 : 2);
        hash = Mix(hash, entry.mode);
        if (entry.bytes) hash = Mix(hash, entry.bytes->hash());
    }
    return hash;
}

FolderImage ReadFolder(const fs::path& folder)
{
    FolderImage image;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        const std::string path = item.path().lexically_relative(folder).string();
        Entry entry;
        entry.mode = Permissions(item.path());
        if (item.is_symlink()) throw std::runtime_error("a symbolic link in the folder: " + path);
        if (item.is_directory())
            entry.folder = true;
        else
            entry.bytes = std::make_shared<const Bytes>(ReadFileBytes(item.path()));
        image.emplace(path, std::move(entry));
    }
    return image;
}

void WriteFolder(const FolderImage& image, const fs::path& folder)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
    // Parents come before their contents in the map's order.
    for (const auto& [path, entry] : image) {
        const fs::path target = folder / path;
        if (entry.folder) {
            fs::create_directory(target);
            continue;
        }
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(entry.bytes->data().data(), static_cast<std::streamsize>(entry.bytes->data().size()));
        if (!out) throw std::runtime_error("cannot write " + target.string());
    }
    // Permissions last: a folder without write permission still gets its files.
    for (auto it = image.rbegin(); it != image.rend(); ++it)
        if (::chmod((folder / it->first).c_str(), it->second.mode) != 0)
            throw std::runtime_error("cannot set the permissions of " + it->first);
}

std::string Differences(const FolderImage& expected, const FolderImage& found)
{
    std::string lines;
    for (const auto& [path, entry] : expected) {
        const auto it = found.find(path);
        if (it == found.end()) {
            lines += path + ": missing\n";
        } else if (it->second.folder != entry.folder) {
            lines += path + ": " + (entry.folder ? "a file instead of a folder\n" : "a folder instead of a file\n");
        } else if (it->second.mode != entry.mode) {
            lines += path + ": permissions differ\n";
        } else if (!entry.folder && it->second.bytes->data() != entry.bytes->data()) {
            lines += path + ": " + std::to_string(it->second.bytes->data().size()) + " bytes differ from the " +
                     std::to_string(entry.bytes->data().size()) + " expected\n";
        }
    }
    for (const auto& [path, entry] : found)
        if (!expected.contains(path)) lines += path + ": unexpected\n";
    return lines;
}

}  // namespace crash
