#include "tests/patch/file_content.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace patch_test {

namespace {

struct CloseDb {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Db = std::unique_ptr<sqlite3, CloseDb>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

Db OpenReadOnly(const std::string& path)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    Db db(raw);
    if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + path);
    return db;
}

std::vector<std::vector<std::string>> Query(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    Statement statement(raw);
    std::vector<std::vector<std::string>> rows;
    while (sqlite3_step(raw) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(raw); ++i) {
            const auto type = sqlite3_column_type(raw, i);
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, i));
            row.push_back(type == SQLITE_NULL ? "<null>" : std::to_string(type) + ":" + text);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

std::string DumpContent(const std::string& path)
{
    auto db = OpenReadOnly(path);
    std::string dump;
    const auto objects = Query(db.get(), "SELECT type, name, sql FROM sqlite_master ORDER BY type, name");
    for (const auto& object : objects) {
        for (const auto& cell : object) dump += cell + " | ";
        dump += "\n";
        if (object[0] != "3:table") continue;
        const std::string name = object[1].substr(2);
        std::string quoted = "\"";
        for (char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        quoted += "\"";
        for (const auto& row : Query(db.get(), "SELECT * FROM " + quoted + " ORDER BY rowid")) {
            dump += "  ";
            for (const auto& cell : row) dump += cell + " | ";
            dump += "\n";
        }
    }
    return dump;
}

std::vector<std::vector<Cell>> QueryRows(const std::string& path, const std::string& sql)
{
    auto db = OpenReadOnly(path);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db.get()));
    Statement statement(raw);
    std::vector<std::vector<Cell>> rows;
    while (sqlite3_step(raw) == SQLITE_ROW) {
        std::vector<Cell> row;
        for (int i = 0; i < sqlite3_column_count(raw); ++i) {
            if (sqlite3_column_type(raw, i) == SQLITE_NULL)
                row.emplace_back();
            else
                row.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(raw, i)));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void ExecuteSql(const std::string& path, const std::string& sql)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    Db db(raw);
    if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + path);
    char* message = nullptr;
    if (sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

std::string IntegrityCheck(const std::string& path)
{
    auto db = OpenReadOnly(path);
    const auto rows = Query(db.get(), "PRAGMA integrity_check");
    return rows.empty() ? "" : rows.front().front().substr(2);
}

}  // namespace patch_test
