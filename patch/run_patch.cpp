#include "patch/run_patch.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <sstream>

#include "db/TovaskADODB/TovaskADODB.h"
#include "db/access/conversion_folder.h"
#include "db/engine/stored_names.h"
#include "patch/access_move.h"
#include "patch/catalogue_check.h"
#include "patch/failure_cause.h"
#include "patch/file_transaction.h"
#include "patch/films_level.h"
#include "patch/films_upgrade.h"
#include "patch/format_text.h"
#include "patch/loans_upgrade.h"
#include "patch/structure_refusal.h"
#include "patch/table_lookup.h"

namespace patch {

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The treatment of one catalogue file.
class FileTreatment {
public:
    FileTreatment(PatchHost& host, PatchComponents& components, int index, std::vector<std::string>& tableNames)
        : host_(host), components_(components), db_(components.dbFilm), table_(components.mdbFilmy), index_(index),
          fileName_(host.FileName(index)), tableNames_(tableNames)
    {
    }

    // Leaves the file closed however it ends; an error it lets out ends the
    // treatment in silence.
    void Run();
    // What the user has been shown of the file so far; Failed until then.
    FileOutcome Outcome() const { return outcome_; }

private:
    // An Access catalogue: converted into the private folder, upgraded there,
    // and put in the file's place in one step; the original is kept beside it.
    void RunAccess(const std::string& path);
    // The treatment of the catalogue at path.
    void Treat(const std::string& path);
    // For a moved Access catalogue, its upgraded copy takes the file's place;
    // false when that was refused and reported.
    bool PutInPlace(const std::string& tableName);
    accessdb::ConversionHooks ConversionHooks();
    template <typename Step>
    bool Converted(const std::string& tableName, Step step);
    void ReportConversionError(const std::string& tableName, const std::exception& error);
    void ReportLacksEarlierPatch(const EarlierPatch& missing, const std::string& filmsTable);

    PatchHost& host_;
    PatchComponents& components_;
    TovaskADODB::TTovaskADOBase& db_;
    TovaskADODB::TTovaskADOTable& table_;
    int index_;
    std::string fileName_;
    std::vector<std::string>& tableNames_;
    AccessMove* move_ = nullptr;
    FileOutcome outcome_ = FileOutcome::Failed;
};

void FileTreatment::Run()
{
    const std::string path = host_.ProgramFolder() + fileName_;
    if (IsJetDatabase(path)) {
        RunAccess(path);
        return;
    }
    Treat(path);
}

void FileTreatment::RunAccess(const std::string& path)
{
    // A file the reader cannot open is skipped as one the engine cannot open;
    // a films table without the fields the levels are told by is a conversion
    // error, as it is in the catalogue format.
    AccessCatalogue catalogue;
    try {
        catalogue = ReadAccessCatalogue(path);
    } catch (const StructureError& error) {
        ReportConversionError(engine::stored::filmsTable, error);
        return;
    }
    if (!catalogue.films) {
        outcome_ = FileOutcome::NotCatalogue;
        return;
    }
    if (catalogue.level.kind == FilmsLevel::LacksEarlierPatch) {
        ReportLacksEarlierPatch(*catalogue.level.missing, *catalogue.films);
        return;
    }
    // Nothing in the folder changes but the private folder until the upgraded
    // copy is put in place.
    std::optional<AccessMove> move;
    std::string converted;
    try {
        move.emplace(host_.ProgramFolder(), fileName_);
        host_.ConversionStarted();
        converted = move->Convert(ConversionHooks());
    } catch (const std::exception& error) {
        ReportConversionError(*catalogue.films, error);
        return;
    }
    move_ = &*move;
    Treat(converted);
    move_ = nullptr;
}

accessdb::ConversionHooks FileTreatment::ConversionHooks()
{
    const auto bounded = [](std::int64_t rows) { return static_cast<int>(std::min<std::int64_t>(rows, INT_MAX)); };
    accessdb::ConversionHooks hooks;
    // The converter tells its start as 0 rows done.
    hooks.progress = [this, bounded](std::int64_t done, std::int64_t total) {
        if (done == 0) host_.SetProgressMaximum(bounded(total));
        host_.SetProgressPosition(bounded(done));
    };
    hooks.pendingInput = [this] { host_.ProcessPendingMessages(); };
    return hooks;
}

bool FileTreatment::PutInPlace(const std::string& tableName)
{
    if (!move_) return true;
    try {
        move_->PutInPlace();
    } catch (const std::exception& error) {
        ReportConversionError(tableName, error);
        return false;
    }
    host_.FileMovedFromAccess(index_, move_->KeptName());
    return true;
}

void FileTreatment::Treat(const std::string& path)
{
    // Whatever way the treatment leaves from here, nothing uncommitted is kept
    // and the file is closed, so the next file starts as the first did.
    FileTransaction file(components_);
    db_.SetConnectionString(CatalogueConnectionString(path));
    db_.OpenBase();
    db_.GetTableNames(tableNames_);

    const auto films = FindTable(tableNames_, engine::stored::filmsTable);
    if (!films) {
        file.Deactivate();
        outcome_ = FileOutcome::NotCatalogue;
        return;
    }
    table_.SetTableName(*films);
    // One transaction per file, holding the write lock from its start: the
    // level and every row are read in it, so a film another program commits
    // before it is carried, and one after it waits or fails. Any failure from
    // here on leaves the file as it was.
    FilmsLevel level{};
    try {
        file.Begin();
        table_.Open();
        level = ClassifyFilms(table_);
    } catch (const std::exception& error) {
        ReportConversionError(*films, error);
        return;
    }
    if (level.kind == FilmsLevel::LacksEarlierPatch) {
        // The user has been told; closing is no part of that.
        ReportLacksEarlierPatch(*level.missing, *films);
        return;
    }
    if (level.kind == FilmsLevel::AtTarget) {
        // Closed before the tick: a file that fails to close is not shown as done.
        file.Close();
        if (!PutInPlace(*films)) return;
        host_.TickFile(index_);
        outcome_ = FileOutcome::AlreadyUpgraded;
        return;
    }
    // What the file's own structure refuses is found before anything changes;
    // a table that cannot even be read for it fails as when it is opened.
    if (const auto refusal = FindStructureRefusal(db_, tableNames_, level.jestNotBoolean)) {
        ReportConversionError(refusal->table, StructureError(refusal->cause));
        return;
    }
    if (!Converted(*films, [&] { UpgradeFilms(host_, components_, level.jestNotBoolean); })) return;

    const auto loans = FindTable(tableNames_, engine::stored::loansTable);
    if (!loans) {
        // The films upgrade stands on its own; the file is left unticked.
        file.Commit();
        if (move_) {
            file.Close();
            if (!PutInPlace(*films)) return;
        }
        outcome_ = FileOutcome::UpgradedWithoutLoans;
        file.Deactivate();
        return;
    }
    table_.SetTableName(*loans);
    table_.Open();
    if (!Converted(*loans, [&] { UpgradeLoans(host_, components_, level.jestNotBoolean); })) return;
    file.Commit();
    try {
        file.Close();
        db_.Compact(path, "");
    } catch (const TovaskADODB::EFolderNotSynced&) {
        // The compacted copy did replace the file; only making that durable failed.
    } catch (const std::exception& error) {
        // A moved catalogue is put in place whole or not at all: the original stays.
        if (move_) throw;
        // The upgrade is in the file; only the compaction failed, in silence.
        outcome_ = FileOutcome::UpgradedNotCompacted;
        host_.FileFailed(index_, error);
        return;
    }
    if (!PutInPlace(*films)) return;
    host_.TickFile(index_);
    outcome_ = FileOutcome::Upgraded;
}

// Runs step; an error in it is reported as a conversion error of the table.
// False when it was.
template <typename Step>
bool FileTreatment::Converted(const std::string& tableName, Step step)
{
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        ReportConversionError(tableName, error);
        return false;
    }
}

void FileTreatment::ReportLacksEarlierPatch(const EarlierPatch& missing, const std::string& filmsTable)
{
    host_.DefaultBeep();
    host_.ShowPlainMessage(FormatText(missing.notice, filmsTable));
    outcome_ = FileOutcome::LacksEarlierPatch;
}

// The file is closed after this, as the treatment returns.
void FileTreatment::ReportConversionError(const std::string& tableName, const std::exception& error)
{
    host_.WarningBeep();
    host_.ShowMessageWindow(
        0, "Informacja", FormatText("Wystąpił nieznany błąd konwersji dla bazy: %s tabela: %s", fileName_, tableName),
        {0}, {0xFFD9B3, 0xFFB871, 0x000080}, true);
    outcome_ = FileOutcome::ConversionError;
    host_.FileFailed(index_, error);
}

void ShowNotice(PatchHost& host, const std::string& text)
{
    host.ShowMessageWindow(0, "Informacja", text, {0}, {0xFFD9B3, 0xFFB871, 0x000080}, true);
}

}  // namespace

void RunPatch(PatchHost& host)
{
    PatchComponents components;
    RunPatch(host, components);
}

void RunPatch(PatchHost& host, PatchComponents& components)
{
    TovaskADODB::RemoveStaleCompactionFolders(host.ProgramFolder());
    accessdb::RemoveStaleConversionFolders(host.ProgramFolder());
    host.SetFileList(SplitLines(host.ListFiles(host.ProgramFolder(), "*.mdb")));
    if (host.FileCount() == 0) {
        ShowNotice(host, "Nie odnaleziono żadnej bazy *.mdb do konwersji.");
        return;
    }
    std::vector<std::string> tableNames;
    host.SetProgressMaximum(host.FileCount());
    host.SetProgressPosition(0);
    const int count = host.FileCount();
    for (int i = 0; i < count; ++i) {
        tableNames.clear();
        host.FileStarted(i);
        FileTreatment treatment(host, components, i, tableNames);
        try {
            treatment.Run();
        } catch (const std::exception& error) {
            // Any other failure skips the file in silence; nothing of it is kept.
            // What the user was already shown of the file stays its outcome.
            if (treatment.Outcome() == FileOutcome::Failed) host.FileFailed(i, error);
        }
        host.FileFinished(i, treatment.Outcome());
    }
}

}  // namespace patch
