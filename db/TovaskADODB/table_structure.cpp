#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/messages.h"
#include "db/TovaskADODB/tovask_ado_base.h"
#include "db/TovaskADODB/tovask_ado_table.h"

namespace TovaskADODB {

engine::TableDef TTovaskADOTable::StoredTableDef() const
{
    if (!connection_) DatabaseError(Messages::BaseNotOpen);
    return connection_->RequireDaoDatabase().tableDef(tableName_);
}

bool TTovaskADOTable::AddField(const std::string& fieldName, engine::FieldKind kind, std::int32_t size, bool required,
                               bool allowZeroLength, bool primaryKey)
{
    if (tableName_.empty()) DatabaseError(Messages::TableNotNamed);
    if (!connection_ || !connection_->Connected()) DatabaseError(Messages::BaseNotOpen);
    if (Active()) DatabaseError(Messages::TableOpen);
    const TFieldArrays column{{fieldName},
                              {kind},
                              {FieldSizeFor(kind, size)},
                              {required ? 1 : 0},
                              {allowZeroLength ? 1 : 0},
                              {primaryKey ? ColumnJoinsPrimaryKey : 0}};
    try {
        return AddFields(*connection_, tableName_, column, false);
    } catch (const std::exception&) {
        // Reported as a false result only; whatever was stored before the failure stays.
        return false;
    }
}

bool TTovaskADOTable::AddFields(TTovaskADOBase& base, const std::string& tableName, const TFieldArrays& columns,
                                bool unique)
{
    return base.AddFields(tableName, columns, unique);
}

bool TTovaskADOTable::DeleteField(const std::string& fieldName)
{
    try {
        StoredTableDef().deleteField(fieldName);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TTovaskADOTable::EmptyTable()
{
    std::exception_ptr failure;
    try {
        if (!IsEmpty()) {
            if (!Active()) DatabaseError(Messages::TableNotOpen);
            Close();
            // A clone still reading the rows keeps them.
            RequireConnection().AdoConnection().emptyTable(tableName_);
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // The dataset is opened again whatever happened above; the first failure is the one reported.
    try {
        Open();
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    if (failure) std::rethrow_exception(failure);
}

}  // namespace TovaskADODB
