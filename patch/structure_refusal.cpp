#include "patch/structure_refusal.h"

#include <algorithm>

#include "db/TovaskADODB/TovaskADODB.h"
#include "db/engine/stored_names.h"
#include "patch/failure_cause.h"
#include "patch/films_upgrade.h"
#include "patch/foreign_indexes.h"
#include "patch/loans_upgrade.h"
#include "patch/table_lookup.h"

namespace patch {

namespace {

struct UpgradedTable {
    std::string name;
    const RebuildItems& items;
};

// Rows are copied by position: the fields from here on come over to nothing.
std::size_t CarriedFieldCount(const RebuildItems& items, bool jestNotBoolean)
{
    // With a Long JEST the table's own ID_CD stands at the ID_CD position and is read.
    return static_cast<std::size_t>(items.idCdPosition) + (jestNotBoolean ? 1 : 0);
}

std::optional<std::string> UncarriedField(const engine::TableDef& table, const RebuildItems& items, bool jestNotBoolean)
{
    const auto fields = table.fields();
    for (std::size_t i = CarriedFieldCount(items, jestNotBoolean); i < fields.size(); ++i) {
        // Empty everywhere, it goes with the old structure: nothing is lost.
        if (table.fieldHoldsValue(fields[i].name())) return patch::UncarriedFieldCause(table.name(), fields[i].name());
    }
    return std::nullopt;
}

// Indexes that the drop list does not take keep their fields from being deleted.
std::optional<std::string> ForeignIndexCause(const engine::TableDef& table, const RebuildItems& items)
{
    std::vector<engine::Index> foreign;
    for (const auto& index : table.indexes()) {
        const bool dropped = !index.fields().empty() && std::find(items.dropList.begin(), items.dropList.end(),
                                                                  index.fields().front()) != items.dropList.end();
        if (!dropped) foreign.push_back(index);
    }
    if (foreign.empty()) return std::nullopt;
    return ForeignIndexesCause(table.name(), foreign);
}

}  // namespace

std::optional<StructureRefusal> FindStructureRefusal(TovaskADODB::TTovaskADOBase& db,
                                                     const std::vector<std::string>& tableNames, bool jestNotBoolean)
{
    std::vector<UpgradedTable> tables;
    if (const auto films = FindTable(tableNames, engine::stored::filmsTable))
        tables.push_back({*films, FilmsRebuildItems()});
    if (const auto loans = FindTable(tableNames, engine::stored::loansTable))
        tables.push_back({*loans, LoansRebuildItems()});

    const auto& database = db.RequireDaoDatabase();
    std::vector<engine::TableShape> shapes;
    for (const auto& table : tables) {
        const auto stored = database.tableDef(table.name);
        if (auto cause = UncarriedField(stored, table.items, jestNotBoolean)) return {{table.name, *cause}};
        if (auto cause = ForeignIndexCause(stored, table.items)) return {{table.name, *cause}};
        engine::TableShape shape{table.name, {}};
        for (const auto& column : table.items.target) shape.fields.push_back(column.name);
        shapes.push_back(std::move(shape));
    }
    if (const auto broken = database.forecastViewsAndTriggers(shapes))
        return {{tables.at(broken->first).name, BrokenViewCause(broken->second)}};
    return std::nullopt;
}

}  // namespace patch
