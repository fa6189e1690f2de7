#include "tools/sample/access/system_catalogue.h"

namespace sample::access {

namespace {

using T = ColumnType;

constexpr std::int64_t rootId = 0x0F000000;
constexpr std::int64_t tablesId = rootId + 1;
constexpr std::int64_t databasesId = rootId + 2;
constexpr std::int64_t relationshipsId = rootId + 3;
constexpr std::int64_t typeTable = 1;
constexpr std::int64_t typeContainer = 3;
constexpr std::int64_t flagsSystem = static_cast<std::int32_t>(0x80000002u);
constexpr std::int64_t flagsContainer = static_cast<std::int32_t>(0x80000000u);

Column column(const char* name, ColumnType type, int size = 0)
{
    Column result;
    result.name = name;
    result.type = type;
    result.size = size;
    result.compressedUnicode = false;
    return result;
}

std::vector<Value> row(std::int64_t id, std::int64_t parent, const std::string& name, std::int64_t type,
                       std::int64_t flags, DateTime created, Value properties)
{
    return {id, parent, name, type, created, created, {}, flags, {}, {}, {}, {}, {}, {}, {}, {}, std::move(properties)};
}

}  // namespace

TableDefinition SystemObjectsDefinition()
{
    return {
        "MSysObjects",
        {column("Id", T::Long), column("ParentId", T::Long), column("Name", T::Text, 128), column("Type", T::Integer),
         column("DateCreate", T::DateTime), column("DateUpdate", T::DateTime), column("Owner", T::Binary, 255),
         column("Flags", T::Long), column("Database", T::Memo), column("Connect", T::Memo),
         column("ForeignName", T::Text, 128), column("RmtInfoShort", T::Binary, 255), column("RmtInfoLong", T::Ole),
         column("Lv", T::Ole), column("LvExtra", T::Ole), column("LvModule", T::Ole), column("LvProp", T::Ole)},
        {{"Id", {"Id"}, true, true}, {"ParentIdName", {"ParentId", "Name"}, false, true}}};
}

TableDefinition SystemRelationshipsDefinition()
{
    return {
        "MSysRelationships",
        {column("ccolumn", T::Long), column("grbit", T::Long), column("icolumn", T::Long),
         column("szColumn", T::Text, 64), column("szObject", T::Text, 64), column("szReferencedColumn", T::Text, 64),
         column("szReferencedObject", T::Text, 64), column("szRelationship", T::Text, 64)},
        {}};
}

std::vector<std::vector<Value>> SystemObjectRows(const std::vector<CatalogueEntry>& tables, DateTime created)
{
    std::vector<std::vector<Value>> rows;
    rows.push_back(row(tablesId, rootId, "Tables", typeContainer, flagsContainer, created, {}));
    rows.push_back(row(databasesId, rootId, "Databases", typeContainer, flagsContainer, created, {}));
    rows.push_back(row(relationshipsId, rootId, "Relationships", typeContainer, flagsContainer, created, {}));
    rows.push_back(row(catalogueDefinitionPage, tablesId, "MSysObjects", typeTable, flagsSystem, created, {}));
    for (const CatalogueEntry& table : tables)
        rows.push_back(
            row(table.definitionPage, tablesId, table.name, typeTable, table.system ? flagsSystem : 0, created,
                table.properties.empty() ? Value{} : Value{Binary(table.properties.begin(), table.properties.end())}));
    return rows;
}

}  // namespace sample::access
