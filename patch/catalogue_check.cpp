#include "patch/catalogue_check.h"

#include "db/TovaskADODB/TovaskADODB.h"
#include "db/engine/connection_string.h"
#include "db/engine/stored_names.h"
#include "patch/failure_cause.h"
#include "patch/films_level.h"
#include "patch/format_text.h"
#include "patch/structure_refusal.h"
#include "patch/table_lookup.h"

namespace patch {

std::string CatalogueConnectionString(const std::string& path)
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;Mode=ReadWrite;Data Source=" + engine::quoteDataSource(path);
}

namespace {

CatalogueCheck CheckOpenCatalogue(TovaskADODB::TTovaskADOBase& db, TovaskADODB::TTovaskADOTable& table,
                                  const std::string& path)
{
    std::vector<std::string> names;
    db.GetTableNames(names);
    const auto films = FindTable(names, engine::stored::filmsTable);
    if (!films) return {CatalogueState::NotCatalogue, {}};
    table.SetTableName(*films);
    FilmsLevel level{};
    try {
        table.Open();
        level = ClassifyFilms(table);
    } catch (const std::exception& error) {
        return {CatalogueState::FilmsTableDamaged, FailureCause(error, path)};
    }
    switch (level.kind) {
    case FilmsLevel::LacksEarlierPatch:
        return {CatalogueState::LacksEarlierPatch, FormatText(level.missing->notice, *films)};
    case FilmsLevel::AtTarget: return {CatalogueState::AlreadyUpgraded, {}};
    case FilmsLevel::NeedsUpgrade: break;
    }
    if (const auto refusal = FindStructureRefusal(db, names, level.jestNotBoolean))
        return {CatalogueState::CannotUpgrade, refusal->cause};
    if (!FindTable(names, engine::stored::loansTable)) return {CatalogueState::NeedsUpgradeWithoutLoans, {}};
    return {CatalogueState::NeedsUpgrade, {}};
}

}  // namespace

CatalogueCheck CheckCatalogue(TovaskADODB::TTovaskADOBase& db, TovaskADODB::TTovaskADOTable& table,
                              const std::string& path)
{
    CatalogueCheck check{CatalogueState::CannotOpen, {}};
    try {
        db.SetConnectionString(CatalogueConnectionString(path));
        db.OpenBase();
        check = CheckOpenCatalogue(db, table, path);
    } catch (const std::exception& error) {
        check = {CatalogueState::CannotOpen, FailureCause(error, path)};
    }
    db.CloseBase();
    return check;
}

}  // namespace patch
