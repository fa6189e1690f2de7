#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/messages.h"
#include "db/TovaskADODB/same_text.h"
#include "db/TovaskADODB/split_field_list.h"
#include "db/TovaskADODB/tovask_ado_base.h"
#include "db/TovaskADODB/tovask_ado_table.h"

namespace TovaskADODB {

namespace {

bool IsPlainOrUnique(const TIndexOptions& options)
{
    return options.Empty() || options == TIndexOptions{TIndexOption::Unique} ||
           options == TIndexOptions{TIndexOption::Primary, TIndexOption::Unique};
}

}  // namespace

void TTovaskADOTable::DeleteIndex(const std::string& indexName)
{
    StoredTableDef().deleteIndex(indexName);
}

void TTovaskADOTable::DropFieldIndexes(const std::string& fieldName) noexcept
{
    try {
        TTovaskADOBase& base = RequireConnection();
        // A fresh database object sees the indexes as stored now; the old one is dropped
        // without being closed, which releases its hold on the file.
        base.ReplaceDaoDatabase(base.OpenDaoDatabase());
        bool deleted = true;
        // Each pass deletes one index, so there can be no more passes than indexes.
        int passesLeft = StoredTableDef().indexCount() + 1;
        while (deleted && passesLeft-- > 0) {
            deleted = false;
            engine::Database& database = base.RequireDaoDatabase();
            database.refreshTableDefs();
            const engine::TableDef tableDef = database.tableDef(tableName_);
            for (const engine::Index& index : tableDef.indexes()) {
                if (!index.fields().empty() && index.fields().front() == fieldName) {
                    DeleteIndex(index.name());
                    deleted = true;
                    break;
                }
            }
        }
    } catch (const std::exception&) {
        // Nothing removed, or only some: the caller goes on either way.
    }
}

void TTovaskADOTable::CreateIndexes()
{
    if (indexDefs_.Empty()) return;
    std::vector<std::string> fieldNames;
    engine::TableDef tableDef = StoredTableDef();

    bool hasPrimaryKey = false;
    std::string primaryKeyName;
    for (const TIndexDef& def : indexDefs_) {
        if (def.Options.Contains(TIndexOption::Primary)) {
            hasPrimaryKey = true;
            primaryKeyName = def.Name;
        }
    }

    if (hasPrimaryKey) {
        if (TTovaskADOBase::HasPrimaryKey(tableDef)) TTovaskADOBase::DropPrimaryKey(tableDef);
        engine::Index primaryKey = tableDef.createIndex(primaryKeyName);
        primaryKey.setPrimary(true);
        for (const TIndexDef& def : indexDefs_) {
            if (!def.Options.Contains(TIndexOption::Primary)) continue;
            SplitFieldList(def.Fields, fieldNames);
            for (const std::string& name : fieldNames) primaryKey.appendField(name);
        }
        tableDef.appendIndex(primaryKey);
    }

    for (const TIndexDef& def : indexDefs_) {
        if (!IsPlainOrUnique(def.Options)) continue;
        SplitFieldList(def.Fields, fieldNames);
        std::string indexName = def.Name;
        if (indexName.empty() && !fieldNames.empty()) indexName = fieldNames.front();
        if (indexName.empty()) DatabaseError(Messages::IndexWithoutName, name_);
        if (hasPrimaryKey && SameText(indexName, primaryKeyName)) continue;
        engine::Index index = tableDef.createIndex(indexName);
        if (def.Options.Contains(TIndexOption::Unique)) index.setUnique(true);
        for (const std::string& name : fieldNames) index.appendField(name);
        tableDef.appendIndex(index);
    }
}

}  // namespace TovaskADODB
