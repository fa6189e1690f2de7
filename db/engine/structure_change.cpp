#include "db/engine/structure_change.h"

#include "db/engine/database_file.h"

namespace engine::detail {

StructureChange::StructureChange(DatabaseFile& file)
    : file_(file), inTransaction_(file.inTransaction()), savepoint_(file.handle()),
      setAsideBefore_(file.viewsAndTriggers().size())
{
    file.viewsAndTriggers().setAside(file.statements());
}

StructureChange::~StructureChange()
{
    // The savepoint's rollback gives the file back what this change set aside.
    if (!completed_) file_.viewsAndTriggers().forgetAfter(setAsideBefore_);
}

void StructureChange::complete()
{
    if (!inTransaction_) file_.restoreViewsAndTriggers();
    savepoint_.release();
    completed_ = true;
}

}  // namespace engine::detail
