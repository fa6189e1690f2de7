#include "patch/run_patch.h"

#include <sstream>

#include "db/TovaskADODB/TovaskADODB.h"
#include "patch/catalogue_check.h"
#include "patch/failure_cause.h"
#include "patch/films_level.h"
#include "patch/films_upgrade.h"
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

// Closes the file without keeping anything of an unfinished upgrade. Closing
// rolls back what is still open, so the file is closed even when the rollback
// itself fails, and the next file starts as the first did.
void Abandon(PatchComponents& components)
{
    components.mdbClone.Close();
    auto& db = components.dbFilm;
    std::exception_ptr rollbackFailure;
    try {
        if (db.InTransaction()) db.RollbackTrans();
    } catch (const std::exception&) {
        rollbackFailure = std::current_exception();
    }
    db.CloseBase();
    if (rollbackFailure) std::rethrow_exception(rollbackFailure);
}

// The treatment of one catalogue file.
class FileTreatment {
public:
    FileTreatment(PatchHost& host, PatchComponents& components, int index, std::vector<std::string>& tableNames)
        : host_(host), components_(components), db_(components.dbFilm), table_(components.mdbFilmy), index_(index),
          fileName_(host.FileName(index)), tableNames_(tableNames)
    {
    }

    void Run();
    // What the user has been shown of the file so far; Failed until then.
    FileOutcome Outcome() const { return outcome_; }

private:
    void LeaveUnchanged();
    template <typename Step>
    bool Converted(const std::string& tableName, Step step);
    void ReportConversionError(const std::string& tableName, const std::exception& error);

    PatchHost& host_;
    PatchComponents& components_;
    TovaskADODB::TTovaskADOBase& db_;
    TovaskADODB::TTovaskADOTable& table_;
    int index_;
    std::string fileName_;
    std::vector<std::string>& tableNames_;
    FileOutcome outcome_ = FileOutcome::Failed;
};

void FileTreatment::Run()
{
    const std::string path = host_.ProgramFolder() + fileName_;
    db_.SetConnectionString(CatalogueConnectionString(path));
    db_.OpenBase();
    db_.GetTableNames(tableNames_);

    const auto films = FindTable(tableNames_, "FILMY");
    if (!films) {
        db_.SetConnected(false);
        outcome_ = FileOutcome::NotCatalogue;
        return;
    }
    table_.SetTableName(*films);
    FilmsLevel level{};
    // One transaction per file, holding the write lock from its start: the
    // level and every row are read in it, so a film another program commits
    // before it is carried, and one after it waits or fails. Any failure from
    // here on leaves the file as it was.
    if (!Converted(*films, [&] {
            db_.BeginTrans();
            table_.Open();
            level = ClassifyFilms(table_);
        }))
        return;
    if (level.kind == FilmsLevel::LacksEarlierPatch) {
        host_.DefaultBeep();
        host_.ShowPlainMessage(FormatText(level.missing->notice, *films));
        // The user has been told; closing is no part of that.
        outcome_ = FileOutcome::LacksEarlierPatch;
        LeaveUnchanged();
        return;
    }
    if (level.kind == FilmsLevel::AtTarget) {
        // Closed before the tick: a file that fails to close is not shown as done.
        LeaveUnchanged();
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

    const auto loans = FindTable(tableNames_, "WYPOZYCZ");
    if (!loans) {
        // The films upgrade stands on its own; the file is left unticked.
        db_.CommitTrans();
        outcome_ = FileOutcome::UpgradedWithoutLoans;
        db_.SetConnected(false);
        return;
    }
    table_.SetTableName(*loans);
    table_.Open();
    if (!Converted(*loans, [&] { UpgradeLoans(host_, components_, level.jestNotBoolean); })) return;
    db_.CommitTrans();
    try {
        db_.CloseBase();
        db_.Compact(path, "");
    } catch (const TovaskADODB::EFolderNotSynced&) {
        // The compacted copy did replace the file; only making that durable failed.
    } catch (const std::exception& error) {
        // The upgrade is in the file; only the compaction failed, in silence.
        outcome_ = FileOutcome::UpgradedNotCompacted;
        host_.FileFailed(index_, error);
        Abandon(components_);
        return;
    }
    host_.TickFile(index_);
    outcome_ = FileOutcome::Upgraded;
}

void FileTreatment::LeaveUnchanged()
{
    table_.Close();
    db_.RollbackTrans();
    db_.CloseBase();
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

void FileTreatment::ReportConversionError(const std::string& tableName, const std::exception& error)
{
    host_.WarningBeep();
    host_.ShowMessageWindow(
        0, "Informacja", FormatText("Wystąpił nieznany błąd konwersji dla bazy: %s tabela: %s", fileName_, tableName),
        {0}, {0xFFD9B3, 0xFFB871, 0x000080}, true);
    // The user has been told, whatever closing the file does.
    outcome_ = FileOutcome::ConversionError;
    host_.FileFailed(index_, error);
    Abandon(components_);
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
            try {
                Abandon(components);
            } catch (const std::exception&) {
                // The file is closed all the same; its outcome is decided.
            }
        }
        host.FileFinished(i, treatment.Outcome());
    }
}

}  // namespace patch
