#pragma once
// The folder as the disk may hold it after a power cut at one point of the
// operation log. Walking the log, it keeps for every file the bytes last
// synced and the writes since, and the changes of names made and those made
// durable, and builds the images a cut there can leave:
// - everything synced before the cut is on the disk;
// - a write (or truncation) since its file's last sync may be there or not,
//   whole or in part;
// - changes of names (create, rename, delete, permissions) reach the disk in the
//   order they were made; one is durable once the folder it changes was synced
//   afterwards (a rename: the folder it moves the name into), and with it every
//   change made before it.

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

#include "tests/reliability/crash/folder_image.h"
#include "tests/reliability/crash/folder_operations.h"

namespace crash {

// How much of one unsynced write reaches the disk.
enum class Part {
    Whole,
    FirstPart,  // the first half (in 512-byte sectors), the rest as it was
    LastPart,   // the second half, the first as it was
    Zeroed,     // the file grew to hold it but the bytes are zeros
};

// Which unsynced writes an image keeps.
struct DataChoice {
    enum class Keep { Only, AllBut, None, All };
    bool othersAll = true;  // every file but `file`: all its unsynced writes, or none
    int file = -1;          // the file whose writes are chosen; -1 for none
    Keep keep = Keep::All;
    std::size_t write = 0;  // Only, AllBut: which of its unsynced writes
    Part part = Part::Whole;
};

class CrashModel {
public:
    explicit CrashModel(const OperationLog& log);

    // Operations made so far: the cut lies after them.
    std::size_t Cut() const { return cut_; }
    bool AtEnd() const { return cut_ == log_.operations.size(); }
    const FolderOperation* Next() const { return AtEnd() ? nullptr : &log_.operations[cut_]; }
    void Advance();

    std::size_t NamesMade() const { return names_.size(); }
    std::size_t NamesDurable() const { return durableCount_; }
    const FolderOperation& NameChange(std::size_t index) const { return *names_[index]; }

    std::vector<int> FilesWithUnsyncedWrites() const;
    const std::vector<const FolderOperation*>& UnsyncedWrites(int file) const;
    // The parts of a file's unsynced write an image may keep.
    std::vector<Part> PartsOf(int file, std::size_t write) const;

    // The folder with the first namesKept changes of names and the chosen writes.
    FolderImage Image(std::size_t namesKept, const DataChoice& data) const;
    // The folder as the program sees it at the cut.
    FolderImage Current() const { return Image(NamesMade(), {}); }

private:
    struct Names {
        std::map<std::string, int> paths;
        std::map<int, unsigned> modes;
    };
    struct File {
        std::shared_ptr<Bytes> synced;
        std::shared_ptr<Bytes> current;
        std::vector<const FolderOperation*> unsynced;
    };

    static void Apply(Names& names, const FolderOperation& change);
    void MakeNamesDurable(std::size_t count);
    SharedBytes Content(int file, const DataChoice& data) const;

    const OperationLog& log_;
    std::size_t cut_ = 0;
    std::vector<File> files_;  // by inode
    std::vector<const FolderOperation*> names_;
    std::size_t durableCount_ = 0;
    Names durable_;
    std::map<int, std::size_t> lastChange_;  // by folder: the index of the last change of names in it
};

}  // namespace crash
