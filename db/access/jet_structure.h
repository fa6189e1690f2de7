#pragma once
// The parts of a Jet 4 file that libmdb follows without checking them: a
// table's definition pages and the usage maps that list its data pages. They
// are checked here, from the file's own bytes, before libmdb reads the table,
// so that a damaged file is refused rather than read out of bounds, followed
// round a loop, or ended by libmdb's own exit().

#include <cstdint>
#include <string>
#include <string_view>

#include "db/TovaskADODB/file_descriptor.h"

namespace accessdb::detail {

class JetStructure {
public:
    // The file must be a whole number of pages (checked before).
    explicit JetStructure(const std::string& path);

    std::uint64_t pageCount() const { return pages_; }

    // EAccessRefused with a Polish cause naming the table when the definition
    // at this page, or a usage map it names, is damaged.
    void checkTable(std::uint32_t page, const std::string& table) const;

private:
    std::string readPage(std::uint64_t page) const;

    TovaskADODB::FileDescriptor fd_;
    std::uint64_t pages_ = 0;
};

// An object's properties (the catalogue's LvProp) as libmdb parses them: a
// "MR2" or "KKD" mark, then blocks of names and of values, every length
// within its block and every block within the value, none empty.
bool propertiesAreSound(std::string_view bytes);

}  // namespace accessdb::detail
