#include "db/engine/msys_catalog.h"

#include "db/engine/stored_names.h"
#include "db/engine/table_schema.h"

namespace engine::detail {
namespace {

using stored::fieldsTable;
using stored::indexesTable;

void ensureFieldsTable(StatementCache& cache)
{
    cache.exec(std::string("CREATE TABLE IF NOT EXISTS ") + fieldsTable +
               "(TableName TEXT NOT NULL, FieldName TEXT NOT NULL, "
               "Required INTEGER NOT NULL DEFAULT 0, AllowZeroLength INTEGER NOT NULL DEFAULT 1)");
}

void ensureIndexesTable(StatementCache& cache)
{
    cache.exec(std::string("CREATE TABLE IF NOT EXISTS ") + indexesTable +
               "(TableName TEXT NOT NULL, IndexName TEXT NOT NULL)");
}

}  // namespace

FieldProperties fieldProperties(StatementCache& cache, const std::string& table, const std::string& field)
{
    FieldProperties properties;
    if (!tableExists(cache, fieldsTable)) return properties;
    StatementUse query(
        cache.get(std::string("SELECT Required, AllowZeroLength FROM ") + fieldsTable +
                  " "
                  "WHERE TableName = ?1 COLLATE vk_nocase AND FieldName = ?2 COLLATE vk_nocase LIMIT 1"));
    query->bindText(1, table);
    query->bindText(2, field);
    if (query->step()) {
        properties.required = query->columnType(0) != SQLITE_NULL && query->columnInteger(0) != 0;
        properties.allowZeroLength = query->columnType(1) == SQLITE_NULL || query->columnInteger(1) != 0;
    }
    return properties;
}

void writeFieldProperties(StatementCache& cache, const std::string& table, const std::string& field,
                          const FieldProperties& properties)
{
    ensureFieldsTable(cache);
    bool updated;
    {
        StatementUse update(cache.get(std::string("UPDATE ") + fieldsTable +
                                      " SET Required = ?3, AllowZeroLength = ?4 "
                                      "WHERE TableName = ?1 COLLATE vk_nocase AND FieldName = ?2 COLLATE vk_nocase"));
        update->bindText(1, table);
        update->bindText(2, field);
        update->bindInteger(3, properties.required ? 1 : 0);
        update->bindInteger(4, properties.allowZeroLength ? 1 : 0);
        update->step();
        updated = sqlite3_changes(cache.db()) > 0;
    }
    if (updated) return;
    StatementUse insert(cache.get(std::string("INSERT INTO ") + fieldsTable +
                                  "(TableName, FieldName, Required, AllowZeroLength) "
                                  "VALUES(?1, ?2, ?3, ?4)"));
    insert->bindText(1, table);
    insert->bindText(2, field);
    insert->bindInteger(3, properties.required ? 1 : 0);
    insert->bindInteger(4, properties.allowZeroLength ? 1 : 0);
    insert->step();
}

void forgetField(StatementCache& cache, const std::string& table, const std::string& field)
{
    if (!tableExists(cache, fieldsTable)) return;
    StatementUse remove(cache.get(std::string("DELETE FROM ") + fieldsTable +
                                  " WHERE TableName = ?1 COLLATE vk_nocase AND FieldName = ?2 COLLATE vk_nocase"));
    remove->bindText(1, table);
    remove->bindText(2, field);
    remove->step();
}

bool isPrimaryIndex(StatementCache& cache, const std::string& table, const std::string& index)
{
    if (!tableExists(cache, indexesTable)) return false;
    StatementUse query(cache.get(std::string("SELECT 1 FROM ") + indexesTable +
                                 " WHERE TableName = ?1 COLLATE vk_nocase AND IndexName = ?2 COLLATE vk_nocase"));
    query->bindText(1, table);
    query->bindText(2, index);
    return query->step();
}

void markPrimaryIndex(StatementCache& cache, const std::string& table, const std::string& index)
{
    ensureIndexesTable(cache);
    if (isPrimaryIndex(cache, table, index)) return;
    StatementUse insert(
        cache.get(std::string("INSERT INTO ") + indexesTable + "(TableName, IndexName) VALUES(?1, ?2)"));
    insert->bindText(1, table);
    insert->bindText(2, index);
    insert->step();
}

void forgetIndex(StatementCache& cache, const std::string& table, const std::string& index)
{
    if (!tableExists(cache, indexesTable)) return;
    StatementUse remove(cache.get(std::string("DELETE FROM ") + indexesTable +
                                  " WHERE TableName = ?1 COLLATE vk_nocase AND IndexName = ?2 COLLATE vk_nocase"));
    remove->bindText(1, table);
    remove->bindText(2, index);
    remove->step();
}

}  // namespace engine::detail
