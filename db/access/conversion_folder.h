#pragma once
// The private folder in which an Access file is carried into a new catalogue
// file (and that file upgraded), beside the file it is made for, and the
// removal of those that a killed run left behind.

#include <sys/stat.h>

#include <string>

#include "db/TovaskADODB/file_descriptor.h"

namespace accessdb {

// A folder ".vidarkon-konwersja-XXXXXX" of mode 0700 of this user. It stays
// locked (flock) while it lives, which tells a running conversion from the
// leftover of a killed one. Once made it is reached only through its
// descriptor, whatever anyone else in the folder does to its name. Destruction
// removes it with all it holds.
class ConversionFolder {
public:
    explicit ConversionFolder(const std::string& folder);
    ~ConversionFolder();
    ConversionFolder(const ConversionFolder&) = delete;
    ConversionFolder& operator=(const ConversionFolder&) = delete;

    // A file in the folder, by a path through its descriptor.
    std::string PathOf(const std::string& name) const;
    int Descriptor() const { return own_.get(); }

private:
    void Remove() noexcept;

    TovaskADODB::FileDescriptor folder_;  // the folder it was made in
    std::string name_;
    TovaskADODB::FileDescriptor own_;
    struct stat ownInfo_ {};
};

// Removes from folder every conversion folder that a killed run left behind:
// one whose name, owner and mode are a conversion's and that no process holds
// locked. Never fails.
void RemoveStaleConversionFolders(const std::string& folder);

}  // namespace accessdb
