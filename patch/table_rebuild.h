#pragma once
// Rebuilds a stored table in place: snapshot of the rows, old indexes and fields
// out, new fields and indexes in, table emptied, every row appended again.

#include <cstdint>
#include <string>
#include <vector>

#include "db/engine/engine_error.h"
#include "db/engine/variant.h"
#include "patch/column_def.h"
#include "patch/patch_components.h"
#include "patch/patch_host.h"

namespace patch {

class TableRebuild;

// What differs between the tables that are rebuilt.
struct RebuildItems {
    std::vector<std::string> dropList;   // indexes starting with these fields go first
    std::vector<ColumnDef> target;       // the new fields, in stored order
    std::vector<std::string> indexList;  // one plain index per name, on that field
    int idCdPosition;                    // where ID_CD stands in the target
    // Fills row (one value per target field) from the snapshot's current row.
    void (*mapRow)(const TableRebuild&, std::vector<engine::Variant>& row);
};

class TableRebuild {
public:
    // jestNotBoolean is what the run found of the file's JEST.
    TableRebuild(PatchHost& host, PatchComponents& components, bool jestNotBoolean, const RebuildItems& items);

    // The whole rebuild; on entry mdbFilmy is open on the table.
    void Run();

    void TakeSnapshot();
    void RemoveAllFields();
    void AddTargetFields();
    void EmptyStoredTable();
    void PrepareCopy();
    void CopyRows();

    // Value of the new ID_CD for the current snapshot row.
    std::int32_t IdCdValue(int position) const;

    // The snapshot's current row.
    const engine::Variant& SnapshotValue(int position) const;
    std::int32_t SnapshotInteger(int position) const;
    bool JestNotBoolean() const { return jestNotBoolean_; }

private:
    void CheckTargetStructure() const;
    // The snapshot's row of that number (from 1), for a cause.
    std::string RowDescription(int number) const;
    std::string ValueNotCarriedCause(const engine::FieldValueError& error, int number) const;
    std::string ValueNotCarriedCause(const engine::VariantError& error, int number) const;

    PatchHost& host_;
    PatchComponents& components_;
    bool jestNotBoolean_;
    const RebuildItems& items_;
};

}  // namespace patch
