#pragma once
// MSysObjects, the catalogue every Jet file starts from: its definition is
// always page 2, and it has one row for each table (Id: the table's
// definition page; LvProp: its properties) beside the engine's containers.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/sample/access/access_table.h"
#include "tools/sample/access/bytes.h"

namespace sample::access {

constexpr std::uint32_t catalogueMapPage = 1;
constexpr std::uint32_t catalogueDefinitionPage = 2;

TableDefinition SystemObjectsDefinition();
// Empty: the files have no relationships, but readers look for the table.
TableDefinition SystemRelationshipsDefinition();

struct CatalogueEntry {
    std::string name;
    std::uint32_t definitionPage;
    ByteVector properties;
    bool system = false;
};

std::vector<std::vector<Value>> SystemObjectRows(const std::vector<CatalogueEntry>& tables, DateTime created);

}  // namespace sample::access
