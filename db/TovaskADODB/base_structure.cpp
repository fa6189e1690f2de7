#include <optional>

#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/messages.h"
#include "db/TovaskADODB/tovask_ado_base.h"

namespace TovaskADODB {

namespace {
constexpr const char* PrimaryKeyIndexName = "PrimaryKey";
}  // namespace

bool TTovaskADOBase::HasPrimaryKey(engine::TableDef& tableDef)
{
    for (int i = 0; i < tableDef.indexCount(); ++i)
        if (tableDef.index(i).primary()) return true;
    return false;
}

void TTovaskADOBase::DropPrimaryKey(engine::TableDef& tableDef)
{
    for (int i = 0; i < tableDef.indexCount(); ++i) {
        const engine::Index index = tableDef.index(i);
        if (index.primary()) {
            tableDef.deleteIndex(index.name());
            return;
        }
    }
}

bool TTovaskADOBase::AddFields(const std::string& tableName, const TFieldArrays& columns, bool unique)
{
    if (!Connected()) DatabaseError(Messages::BaseNotOpen);
    if (tableName.empty()) DatabaseError(Messages::BaseNotDefined);
    const std::size_t count = columns.Kinds.size();
    if (columns.Names.size() < count || columns.Sizes.size() < count || columns.Required.size() < count ||
        columns.AllowZeroLength.size() < count || columns.Attributes.size() < count)
        DatabaseError(Messages::ColumnArraysMismatch);

    engine::TableDef tableDef = RequireDaoDatabase().tableDef(tableName);
    auto joinsPrimaryKey = [&](std::size_t i) {
        return (columns.Attributes[i] & ColumnJoinsPrimaryKey) == ColumnJoinsPrimaryKey;
    };
    auto createField = [&](std::size_t i) {
        return tableDef.createField(columns.Names[i], columns.Kinds[i], columns.Sizes[i]);
    };

    for (std::size_t i = 0; i < count; ++i) {
        if (joinsPrimaryKey(i)) {
            DropPrimaryKey(tableDef);
            break;
        }
    }

    std::optional<engine::Index> primaryKey;
    for (std::size_t i = 0; i < count; ++i) {
        tableDef.appendField(createField(i));
        if (columns.Attributes[i] > 0 && joinsPrimaryKey(i)) {
            if (!primaryKey) {
                primaryKey = tableDef.createIndex(PrimaryKeyIndexName);
                primaryKey->setPrimary(true);
                primaryKey->setUnique(true);
            }
            primaryKey->appendField(createField(i).name());
        }
    }
    if (primaryKey) tableDef.appendIndex(*primaryKey);

    for (std::size_t i = 0; i < count; ++i) {
        if ((columns.Attributes[i] & ColumnOwnIndexA) > 0 || (columns.Attributes[i] & ColumnOwnIndexB) > 0) {
            engine::Index own = tableDef.createIndex(columns.Names[i]);
            own.setUnique(unique);
            own.appendField(createField(i).name());
            tableDef.appendIndex(own);
        }
    }

    for (std::size_t i = 0; i < count; ++i) {
        RequireDaoDatabase().tableDef(tableName).field(columns.Names[i]).setRequired(columns.Required[i] != 0);
        tableDef.field(columns.Names[i]).setAllowZeroLength(columns.AllowZeroLength[i] != 0);
    }
    return true;
}

}  // namespace TovaskADODB
