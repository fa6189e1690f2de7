#pragma once
// One change to the structure of stored tables made through the engine,
// undone unless completed. Views and triggers keep naming fields and tables
// by name across it: the file's views and triggers are set aside before the
// change and made again from their own text once the structure is complete,
// that is
// - inside the file's transaction: when it commits, or earlier when a caller
//   asks (DatabaseFile::restoreViewsAndTriggers); until then no user trigger
//   fires, so rows moved in between are not entered anew;
// - outside a transaction: by complete().
// A view or trigger that worked before and no longer compiles makes that step
// fail (EngineError); the caller's rollback leaves the file as it was.

#include <cstddef>

#include "db/engine/sqlite_handle.h"

namespace engine {
class DatabaseFile;
}  // namespace engine

namespace engine::detail {

class StructureChange {
public:
    explicit StructureChange(DatabaseFile& file);
    ~StructureChange();
    StructureChange(const StructureChange&) = delete;
    StructureChange& operator=(const StructureChange&) = delete;

    // Keeps the change; outside a transaction, makes the views and triggers again first.
    void complete();

private:
    DatabaseFile& file_;
    bool inTransaction_;
    Savepoint savepoint_;
    std::size_t setAsideBefore_;  // what earlier changes of the transaction set aside
    bool completed_ = false;
};

}  // namespace engine::detail
