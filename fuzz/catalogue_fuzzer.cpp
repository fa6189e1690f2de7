// Whole catalogues from elsewhere: the input chooses the declared types of the
// films and loans fields, the rows of MSysFields and MSysIndexes, odd values
// and a few flipped bytes; the upgrade runs over the file. It must not crash or
// hang, and the file must end either exactly as it was or upgraded and whole:
// sound, every film and loan there, no text that is not UTF-8.
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "db/engine/value_text.h"
#include "patch/patch_host.h"
#include "patch/run_patch.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& why)
{
    std::fprintf(stderr, "catalogue_fuzzer: %s\n", why.c_str());
    std::abort();
}

struct FieldPlan {
    const char* name;
    const char* usual;  // the declared type the catalogue's own program gives it
};

// The old films table in stored order; ID_CD is the old key.
const FieldPlan kFilms[] = {
    {"ID_CD", "LONG"},         {"T_ORG", "TEXT(150)"},    {"T_PL", "TEXT(150)"},    {"GATUNEK", "TEXT(100)"},
    {"ROK_PROD", "LONG"},      {"KRAJ", "TEXT(100)"},     {"REZYSER", "TEXT(254)"}, {"SCENARIU", "TEXT(254)"},
    {"ZDJECIA", "TEXT(254)"},  {"AKTORZY", "MEMO"},       {"MUZYKA", "TEXT(254)"},  {"ILOSC_CD", "LONG"},
    {"ROZMIAR", "TEXT(254)"},  {"CVIDEO", "TEXT(150)"},   {"ROZDZIEL", "TEXT(20)"}, {"FPS", "TEXT(20)"},
    {"CZAS", "TEXT(10)"},      {"VBITRATE", "TEXT(20)"},  {"CAUDIO", "TEXT(150)"},  {"SAMPLE_R", "TEXT(20)"},
    {"ABITRATE", "TEXT(20)"},  {"KANALY", "TEXT(50)"},    {"UWAGI", "TEXT(254)"},   {"TLUMACZ", "TEXT(50)"},
    {"OPIS", "MEMO"},          {"DATA_DOD", "DATETIME"},  {"OBEJRZAN", "BIT"},      {"OCENA", "LONG"},
    {"OKLADKA", "TEXT(3)"},    {"FOTO", "TEXT(255)"},     {"JEST", "BIT"},          {"AKA", "MEMO"},
    {"SUBTYPE", "TEXT(50)"},   {"LOCATION", "TEXT(100)"}, {"VideoDVD", "MEMO"},     {"AudioDVD", "MEMO"},
    {"LangSubTitles", "MEMO"},
};

const FieldPlan kLoans[] = {
    {"FILM_ID", "LONG"}, {"ID_OSOBY", "LONG"}, {"DATA_W", "DATETIME"}, {"DATA_Z", "DATETIME"}, {"KASUJ", "BIT"},
};

const char* const kOddTypes[] = {"LONG",   "TEXT(5)", "TEXT(255)", "MEMO",    "BIT",        "DATETIME",
                                 "DOUBLE", "",        "BLOB",      "INTEGER", "VARCHAR(2)", "TEXT(0)"};

std::string Quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

void Exec(sqlite3* db, const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "?";
        sqlite3_free(error);
        Fail("making the catalogue: " + message + " in " + sql);
    }
}

// One odd or ordinary value, bound to a statement's parameter.
void BindValue(FuzzedDataProvider& in, sqlite3_stmt* statement, int index)
{
    switch (in.ConsumeIntegralInRange(0, 12)) {
    case 0: sqlite3_bind_null(statement, index); break;
    case 1: sqlite3_bind_int64(statement, index, in.ConsumeIntegralInRange<std::int64_t>(-5, 100)); break;
    case 2: sqlite3_bind_int64(statement, index, in.ConsumeIntegral<std::int64_t>()); break;
    case 3: sqlite3_bind_double(statement, index, in.ConsumeFloatingPoint<double>()); break;
    case 4: sqlite3_bind_double(statement, index, std::nan("")); break;
    case 5: {
        const auto text = in.ConsumeRandomLengthString(40);
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case 6: {
        const auto bytes = in.ConsumeRandomLengthString(40);
        sqlite3_bind_blob(statement, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    case 7: {
        const std::string text("Tytu\xC5\x82\0ukryty", 14);
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case 8: {
        const std::string text(in.ConsumeIntegralInRange<std::size_t>(200, 400), 'x');
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case 9: sqlite3_bind_text(statement, index, "2023-02-30 25:61:00", -1, SQLITE_STATIC); break;
    case 10: sqlite3_bind_text(statement, index, "1999-05-06 10:00:00", -1, SQLITE_STATIC); break;
    case 11: sqlite3_bind_text(statement, index, "007", -1, SQLITE_STATIC); break;
    default: sqlite3_bind_text(statement, index, "Zażółć gęślą jaźń", -1, SQLITE_STATIC); break;
    }
}

// A table of the plan's fields, each declared as usual or as the input chooses,
// with extra fields after them, its property rows and indexes, and rows.
int MakeTable(FuzzedDataProvider& in, sqlite3* db, const std::string& table, const std::vector<FieldPlan>& plan)
{
    std::vector<std::string> names;
    std::string columns;
    for (const auto& field : plan) {
        const std::string type = in.ConsumeIntegralInRange(0, 7) == 0
                                     ? kOddTypes[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kOddTypes) - 1)]
                                     : field.usual;
        names.push_back(field.name);
        columns += (columns.empty() ? "" : ", ") + Quoted(field.name) + " " + type;
    }
    for (int extra = in.ConsumeIntegralInRange(0, 2); extra > 0; --extra) {
        names.push_back("EXTRA" + std::to_string(extra));
        columns += ", " + Quoted(names.back()) + " " +
                   kOddTypes[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kOddTypes) - 1)];
    }
    Exec(db, "CREATE TABLE " + Quoted(table) + " (" + columns + ")");

    for (const auto& name : names) {
        if (!in.ConsumeBool()) continue;
        Exec(db, "INSERT INTO MSysFields VALUES ('" + table + "', '" + name + "', " +
                     std::to_string(in.ConsumeIntegralInRange(-1, 2)) + ", " +
                     std::to_string(in.ConsumeIntegralInRange(-1, 2)) + ")");
    }
    for (int index = in.ConsumeIntegralInRange(0, 3); index > 0; --index) {
        const auto& field = names[in.ConsumeIntegralInRange<std::size_t>(0, names.size() - 1)];
        const std::string name = table + "." + (in.ConsumeBool() ? field : "I" + std::to_string(index));
        const bool unique = in.ConsumeIntegralInRange(0, 4) == 0;
        sqlite3_exec(db,
                     ((unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") + Quoted(name) + " ON " + Quoted(table) +
                      " (" + Quoted(field) + ")")
                         .c_str(),
                     nullptr, nullptr, nullptr);
        if (in.ConsumeBool())
            Exec(db, "INSERT INTO MSysIndexes VALUES ('" + table + "', '" + name.substr(table.size() + 1) + "')");
    }
    if (in.ConsumeIntegralInRange(0, 5) == 0) Exec(db, "INSERT INTO MSysIndexes VALUES ('" + table + "', 'BRAK')");

    std::string parameters;
    for (std::size_t i = 0; i < names.size(); ++i) parameters += i ? ", ?" : "?";
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db, ("INSERT INTO " + Quoted(table) + " VALUES (" + parameters + ")").c_str(), -1, &insert,
                           nullptr) != SQLITE_OK)
        Fail("insert");
    int rows = 0;
    for (int row = in.ConsumeIntegralInRange(0, 12); row > 0; --row) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            // Mostly ordinary values: the odd ones are the exception in a row.
            if (in.ConsumeIntegralInRange(0, 5) == 0)
                BindValue(in, insert, static_cast<int>(i) + 1);
            else
                sqlite3_bind_int64(insert, static_cast<int>(i) + 1, row);
        }
        // A value the table's own affinity or a unique index refuses is not written.
        if (sqlite3_step(insert) == SQLITE_DONE) ++rows;
        sqlite3_reset(insert);
        sqlite3_clear_bindings(insert);
    }
    sqlite3_finalize(insert);
    return rows;
}

std::string Bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The file's own answer to a query of one number, or nullopt.
std::optional<std::int64_t> Number(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* statement = nullptr;
    std::optional<std::int64_t> value;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

struct Counts {
    std::optional<std::int64_t> films;
    std::optional<std::int64_t> loans;
};

Counts CountRows(const fs::path& file)
{
    sqlite3* db = nullptr;
    Counts counts;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        counts.films = Number(db, "SELECT count(*) FROM FILMY");
        counts.loans = Number(db, "SELECT count(*) FROM WYPOZYCZ");
    }
    sqlite3_close(db);
    return counts;
}

// An upgraded file: sound, both tables in their new structure, every row
// there, and every text value UTF-8.
void CheckUpgraded(const fs::path& file, const Counts& before)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) Fail("upgraded file opens");
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
    if (sqlite3_step(check) != SQLITE_ROW ||
        std::string(reinterpret_cast<const char*>(sqlite3_column_text(check, 0))) != "ok")
        Fail("upgraded file is not sound");
    sqlite3_finalize(check);
    if (Number(db, "SELECT count(*) FROM pragma_table_info('FILMY')") != 44) Fail("films table not in its structure");
    if (Number(db, "SELECT count(*) FROM pragma_table_info('WYPOZYCZ')") != 6) Fail("loans table not in its structure");
    if (before.films && Number(db, "SELECT count(*) FROM FILMY") != before.films) Fail("films lost");
    if (before.loans && Number(db, "SELECT count(*) FROM WYPOZYCZ") != before.loans) Fail("loans lost");
    for (const char* table : {"FILMY", "WYPOZYCZ"}) {
        sqlite3_stmt* rows = nullptr;
        sqlite3_prepare_v2(db, (std::string("SELECT * FROM ") + table).c_str(), -1, &rows, nullptr);
        while (sqlite3_step(rows) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(rows); ++i) {
                if (sqlite3_column_type(rows, i) != SQLITE_TEXT) continue;
                const std::string_view text(reinterpret_cast<const char*>(sqlite3_column_text(rows, i)),
                                            static_cast<std::size_t>(sqlite3_column_bytes(rows, i)));
                if (!engine::detail::isValidUtf8(text)) Fail(std::string("text that is not UTF-8 in ") + table);
            }
        }
        sqlite3_finalize(rows);
    }
    sqlite3_close(db);
}

class FuzzHost : public patch::PatchHost {
public:
    explicit FuzzHost(std::string folder) : folder_(std::move(folder)) {}
    std::string ProgramFolder() const override { return folder_; }
    std::string ListFiles(const std::string& folder, const std::string&) override
    {
        std::string list;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".mdb") list += entry.path().filename().string() + "\r\n";
        return list;
    }
    void SetFileList(const std::vector<std::string>& names) override { names_ = names; }
    int FileCount() const override { return static_cast<int>(names_.size()); }
    std::string FileName(int index) const override { return names_.at(static_cast<std::size_t>(index)); }
    void TickFile(int) override {}
    void SetProgressMaximum(int) override {}
    void SetProgressPosition(int) override {}
    void StepProgress() override {}
    bool KeepIdCd() const override { return keepIdCd; }
    int ShowMessageWindow(std::uint8_t, const std::string&, const std::string&, const std::vector<std::uint8_t>&,
                          const std::vector<std::int32_t>&, bool) override
    {
        return 1;
    }
    void ShowPlainMessage(const std::string&) override {}
    void WarningBeep() override {}
    void DefaultBeep() override {}
    void ProcessPendingMessages() override {}
    void FileFinished(int, patch::FileOutcome value) override { outcome = value; }

    bool keepIdCd = true;
    patch::FileOutcome outcome = patch::FileOutcome::Failed;

private:
    std::string folder_;
    std::vector<std::string> names_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    char pattern[] = "/tmp/vk-catalogue-fuzz-XXXXXX";
    if (!::mkdtemp(pattern)) Fail("mkdtemp");
    const fs::path folder(pattern);
    const fs::path file = folder / "k.mdb";
    {
        sqlite3* db = nullptr;
        if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) Fail("create");
        Exec(db,
             "CREATE TABLE MSysFields(TableName TEXT NOT NULL, FieldName TEXT NOT NULL, "
             "Required INTEGER NOT NULL DEFAULT 0, AllowZeroLength INTEGER NOT NULL DEFAULT 1);"
             "CREATE TABLE MSysIndexes(TableName TEXT NOT NULL, IndexName TEXT NOT NULL);");
        const bool longJest = in.ConsumeBool();
        std::vector<FieldPlan> films(std::begin(kFilms), std::end(kFilms));
        std::vector<FieldPlan> loans(std::begin(kLoans), std::end(kLoans));
        if (longJest) {
            films[30].usual = "LONG";
            films.push_back({"ID_CD", "LONG"});
            films[0].name = "FILM_ID";
            loans.push_back({"ID_CD", "LONG"});
        }
        MakeTable(in, db, "FILMY", films);
        MakeTable(in, db, "WYPOZYCZ", loans);
        sqlite3_close(db);
    }
    // A few flipped bytes anywhere in the file.
    for (int flips = in.ConsumeIntegralInRange(0, 3) == 0 ? in.ConsumeIntegralInRange(1, 3) : 0; flips > 0; --flips) {
        std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
        bytes.seekg(0, std::ios::end);
        const auto length = static_cast<std::uint64_t>(bytes.tellg());
        if (length == 0) break;
        const auto at = in.ConsumeIntegralInRange<std::uint64_t>(0, length - 1);
        bytes.seekg(static_cast<std::streamoff>(at));
        char c = 0;
        bytes.get(c);
        bytes.seekp(static_cast<std::streamoff>(at));
        bytes.put(static_cast<char>(c ^ static_cast<char>(1 << in.ConsumeIntegralInRange(0, 7))));
    }

    const std::string before = Bytes(file);
    const Counts counts = CountRows(file);
    FuzzHost host(folder.string() + "/");
    host.keepIdCd = in.ConsumeBool();
    patch::RunPatch(host);

    const std::string after = Bytes(file);
    if (after != before) {
        if (host.outcome != patch::FileOutcome::Upgraded && host.outcome != patch::FileOutcome::UpgradedNotCompacted)
            Fail("the file changed, yet it is not reported upgraded");
        CheckUpgraded(file, counts);
    }
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path() != file) Fail("left behind: " + entry.path().string());
    fs::remove_all(folder);
    return 0;
}
