#include "patch/catalogue_check.h"

#include <filesystem>
#include <system_error>

#include "db/TovaskADODB/TovaskADODB.h"
#include "db/access/lock_file.h"
#include "db/engine/connection_string.h"
#include "db/engine/stored_names.h"
#include "patch/access_move.h"
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

// An Access catalogue: its level as read through the Access reader, and what
// the run would do with it, told beside the state.
CatalogueCheck CheckAccessCatalogue(const std::string& path)
{
    const auto catalogue = ReadAccessCatalogue(path);
    if (!catalogue.films) return {CatalogueState::NotCatalogue, "plik w formacie Access"};
    if (catalogue.level.kind == FilmsLevel::LacksEarlierPatch)
        return {CatalogueState::LacksEarlierPatch, FormatText(catalogue.level.missing->notice, *catalogue.films)};
    const std::string fileName = std::filesystem::path(path).filename().string();
    const std::string kept = KeptOriginalName(fileName);
    std::error_code error;
    const auto keptStatus = std::filesystem::symlink_status(std::filesystem::path(path).parent_path() / kept, error);
    if (error == std::errc::filename_too_long) return {CatalogueState::CannotUpgrade, KeptNameTooLongCause()};
    if (keptStatus.type() != std::filesystem::file_type::not_found)
        return {CatalogueState::CannotUpgrade, "plik w formacie Access, a nazwa " + kept +
                                                   ", pod którą program zachowuje oryginał, jest zajęta: przenieś "
                                                   "ten plik w inne miejsce lub zmień jego nazwę"};
    if (accessdb::accessFileInUse(path))
        return {CatalogueState::CannotOpen, "plik jest otwarty w innym programie: zamknij go"};
    const std::string moved =
        "plik w formacie Access: zostanie przeniesiony do formatu tego programu, a oryginał "
        "zachowany jako " +
        kept;
    if (catalogue.level.kind == FilmsLevel::AtTarget) return {CatalogueState::AlreadyUpgraded, moved};
    if (!catalogue.hasLoans) return {CatalogueState::NeedsUpgradeWithoutLoans, moved};
    return {CatalogueState::NeedsUpgrade, moved};
}

}  // namespace

CatalogueCheck CheckCatalogue(TovaskADODB::TTovaskADOBase& db, TovaskADODB::TTovaskADOTable& table,
                              const std::string& path)
{
    CatalogueCheck check{CatalogueState::CannotOpen, {}};
    if (IsJetDatabase(path)) {
        try {
            return CheckAccessCatalogue(path);
        } catch (const std::exception& error) {
            return {CatalogueState::CannotOpen, FailureCause(error, path)};
        }
    }
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
