#include "patch/catalogue_check.h"

#include "db/TovaskADODB/TovaskADODB.h"
#include "db/engine/connection_string.h"
#include "patch/films_level.h"
#include "patch/table_lookup.h"

namespace patch {

std::string CatalogueConnectionString(const std::string& path)
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;Mode=ReadWrite;Data Source=" + engine::quoteDataSource(path);
}

namespace {

CatalogueCheck CheckOpenCatalogue(TovaskADODB::TTovaskADOBase& db, TovaskADODB::TTovaskADOTable& table)
{
    std::vector<std::string> names;
    db.GetTableNames(names);
    const auto films = FindTable(names, "FILMY");
    if (!films) return {CatalogueState::NotCatalogue, {}};
    table.SetTableName(*films);
    table.Open();
    FilmsLevel level{};
    try {
        level = ClassifyFilms(table);
    } catch (const TovaskADODB::EDatabaseError& error) {
        return {CatalogueState::FilmsTableDamaged, error.what()};
    }
    switch (level.kind) {
    case FilmsLevel::LacksEarlierPatch:
        return {CatalogueState::LacksEarlierPatch, FormatText(level.missing->notice, *films)};
    case FilmsLevel::AtTarget: return {CatalogueState::AlreadyUpgraded, {}};
    case FilmsLevel::NeedsUpgrade: break;
    }
    if (!FindTable(names, "WYPOZYCZ")) return {CatalogueState::NeedsUpgrade, "brak tabeli WYPOZYCZ"};
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
    } catch (const std::exception& error) {
        check.detail = error.what();
        db.CloseBase();
        return check;
    }
    try {
        check = CheckOpenCatalogue(db, table);
    } catch (const std::exception& error) {
        check = {CatalogueState::CannotOpen, error.what()};
    }
    db.CloseBase();
    return check;
}

}  // namespace patch
