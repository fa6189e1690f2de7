#pragma once
// An Access file carried whole into a new catalogue file of the documented
// format: every user table with its fields, field properties, indexes and
// rows, in the same order.

#include <cstdint>
#include <functional>
#include <string>

#include "db/engine/catalogue_writer.h"

namespace accessdb {

struct ConversionHooks {
    // Rows done of all the tables' rows: 0 at the start, now and then, and once at the end.
    std::function<void(std::int64_t done, std::int64_t total)> progress;
    // Called regularly, so that a window can handle its pending input.
    std::function<void()> pendingInput;
};

struct ConversionSummary {
    int tables = 0;
    std::int64_t rows = 0;
};

// Writes newPath, which must not exist (it is created, never overwritten),
// and syncs it and its folder. The file is written in a private folder beside
// it and takes its name only after the whole Access file has been read. Refuses (EAccessInUse) an Access file whose
// lock file holds a live lock, and (EAccessRefused) one that cannot be read
// whole or carried exactly; ETargetExists when newPath is taken; other
// failures as TovaskADODB::EDatabaseError. All with a Polish cause. On any
// failure the new file is removed again: nothing is left behind.
// Unsynced leaves the new file and its folder unsynced, for a file that is
// only a step to another that is synced before it counts.
ConversionSummary ConvertAccessFile(const std::string& accessPath, const std::string& newPath,
                                    const ConversionHooks& hooks = {},
                                    engine::Durability durability = engine::Durability::Synced);

}  // namespace accessdb
