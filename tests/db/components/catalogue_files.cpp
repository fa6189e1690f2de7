#include "catalogue_files.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace components_test {

namespace {

using Db = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

Db Open(const std::string& path, int flags)
{
    sqlite3* raw = nullptr;
    Db db(raw, sqlite3_close);
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    db.reset(raw);
    if (rc != SQLITE_OK) throw std::runtime_error("open " + path + ": " + sqlite3_errmsg(raw));
    return db;
}

}  // namespace

void MakeCatalogue(const std::string& path, const std::string& sql)
{
    Db db = Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("sql: ") + sqlite3_errmsg(db.get()));
}

void MakeLoansCatalogue(const std::string& path)
{
    const char* data = std::getenv("VK_TEST_DATA");
    const std::string sql = ReadBytes(std::string(data ? data : "tests/data") + "/components/loans_catalogue.sql");
    if (sql.empty()) throw std::runtime_error("loans_catalogue.sql not found; is VK_TEST_DATA set?");
    MakeCatalogue(path, sql);
}

std::vector<std::string> QueryColumn(const std::string& path, const std::string& sql)
{
    Db db = Open(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("prepare: ") + sqlite3_errmsg(db.get()));
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(raw, sqlite3_finalize);
    std::vector<std::string> values;
    while (sqlite3_step(raw) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(raw, 0);
        values.push_back(text ? reinterpret_cast<const char*>(text) : "<null>");
    }
    return values;
}

std::vector<std::string> StoredIndexNames(const std::string& path, const std::string& table)
{
    return QueryColumn(path, "SELECT name FROM sqlite_master WHERE type = 'index' AND substr(name, 1, " +
                                 std::to_string(table.size() + 1) + ") = '" + table + ".' ORDER BY name");
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace components_test
