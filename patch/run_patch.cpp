#include "patch/run_patch.h"

#include <optional>
#include <sstream>

#include "db/TovaskADODB/TovaskADODB.h"
#include "patch/catalogue_check.h"
#include "patch/films_level.h"
#include "patch/films_upgrade.h"
#include "patch/loans_upgrade.h"
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

// Closes the file without keeping anything of an unfinished upgrade.
void Abandon(PatchHost& host)
{
    host.mdbClone().Close();
    auto& db = host.dbFilm();
    if (db.InTransaction()) db.RollbackTrans();
    db.CloseBase();
}

// The treatment of one catalogue file.
class FileTreatment {
public:
    FileTreatment(PatchHost& host, int index, std::vector<std::string>& tableNames)
        : host_(host), db_(host.dbFilm()), table_(host.mdbFilmy()), index_(index), fileName_(host.FileName(index)),
          tableNames_(tableNames)
    {
    }

    FileOutcome Run();

private:
    std::optional<FileOutcome> TreatFilms(const std::string& films);
    void ReportConversionError(const std::string& tableName);
    void Leave();

    PatchHost& host_;
    TovaskADODB::TTovaskADOBase& db_;
    TovaskADODB::TTovaskADOTable& table_;
    int index_;
    std::string fileName_;
    std::vector<std::string>& tableNames_;
};

FileOutcome FileTreatment::Run()
{
    const std::string path = host_.ProgramFolder() + fileName_;
    db_.SetConnectionString(CatalogueConnectionString(path));
    db_.OpenBase();
    db_.GetTableNames(tableNames_);

    const auto films = FindTable(tableNames_, "FILMY");
    if (!films) {
        db_.SetConnected(false);
        return FileOutcome::NotCatalogue;
    }
    table_.SetTableName(*films);
    if (const auto outcome = TreatFilms(*films)) return *outcome;

    const auto loans = FindTable(tableNames_, "WYPOZYCZ");
    if (!loans) {
        // The films upgrade stands on its own; the file is left unticked.
        db_.CommitTrans();
        db_.SetConnected(false);
        return FileOutcome::UpgradedWithoutLoans;
    }
    table_.SetTableName(*loans);
    table_.Open();
    try {
        UpgradeLoans(host_);
    } catch (const std::exception&) {
        ReportConversionError(*loans);
        return FileOutcome::ConversionError;
    }
    db_.CommitTrans();
    try {
        db_.CloseBase();
        db_.Compact(path, "");
    } catch (const TovaskADODB::EFolderNotSynced&) {
        // The compacted copy did replace the file; only making that durable failed.
    } catch (const std::exception&) {
        // The upgrade is in the file; only the compaction failed, in silence.
        Abandon(host_);
        return FileOutcome::UpgradedNotCompacted;
    }
    host_.TickFile(index_);
    return FileOutcome::Upgraded;
}

// Everything from opening the films table to its rebuild reports as a conversion error.
// Returns the file's outcome when the treatment ends here.
std::optional<FileOutcome> FileTreatment::TreatFilms(const std::string& films)
{
    try {
        table_.Open();
        const FilmsLevel level = ClassifyFilms(table_);
        if (level.kind == FilmsLevel::LacksEarlierPatch) {
            host_.DefaultBeep();
            host_.ShowPlainMessage(FormatText(level.missing->notice, films));
            db_.CloseBase();
            return FileOutcome::LacksEarlierPatch;
        }
        host_.SetJestNotBoolean(level.jestNotBoolean);
        if (level.kind == FilmsLevel::AtTarget) {
            host_.TickFile(index_);
            db_.CloseBase();
            return FileOutcome::AlreadyUpgraded;
        }
        // One transaction per file: any failure from here on leaves the file as it was.
        db_.BeginTrans();
        UpgradeFilms(host_);
        return std::nullopt;
    } catch (const std::exception&) {
        ReportConversionError(films);
        return FileOutcome::ConversionError;
    }
}

void FileTreatment::ReportConversionError(const std::string& tableName)
{
    host_.WarningBeep();
    host_.ShowMessageWindow(
        0, "Informacja", FormatText("Wystąpił nieznany błąd konwersji dla bazy: %s tabela: %s", fileName_, tableName),
        {0}, {0xFFD9B3, 0xFFB871, 0x000080}, true);
    Leave();
}

void FileTreatment::Leave()
{
    Abandon(host_);
}

void ShowNotice(PatchHost& host, const std::string& text)
{
    host.ShowMessageWindow(0, "Informacja", text, {0}, {0xFFD9B3, 0xFFB871, 0x000080}, true);
}

}  // namespace

void RunPatch(PatchHost& host)
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
        FileOutcome outcome = FileOutcome::Failed;
        try {
            outcome = FileTreatment(host, i, tableNames).Run();
        } catch (const std::exception&) {
            // Any other failure skips the file in silence; nothing of it is kept.
            try {
                Abandon(host);
            } catch (const std::exception&) {
            }
        }
        host.FileFinished(i, outcome);
    }
}

}  // namespace patch
