#include "sample_file_reader.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <stdexcept>

#include "tools/sample/sample_catalogue.h"

namespace sample_test {

namespace {

class Query {
public:
    Query(sqlite3* db, const std::string& sql)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in " + sql);
    }
    ~Query() { sqlite3_finalize(statement_); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    bool next()
    {
        const int rc = sqlite3_step(statement_);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) throw std::runtime_error("query failed");
        return rc == SQLITE_ROW;
    }
    std::string text(int column) const
    {
        const auto* value = sqlite3_column_text(statement_, column);
        return value ? reinterpret_cast<const char*>(value) : "<null>";
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }

private:
    sqlite3_stmt* statement_ = nullptr;
};

std::string quotedName(const std::string& name)
{
    return "\"" + name + "\"";
}

}  // namespace

CatalogueReader::CatalogueReader(const std::filesystem::path& file)
{
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + file.string());
    }
}

CatalogueReader::~CatalogueReader()
{
    sqlite3_close(db_);
}

std::vector<std::string> CatalogueReader::tables() const
{
    return texts(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
        "ORDER BY name");
}

std::vector<ColumnInfo> CatalogueReader::columns(const std::string& table) const
{
    std::vector<ColumnInfo> result;
    Query query(db_, "PRAGMA table_info(" + quotedName(table) + ")");
    while (query.next()) result.push_back({query.text(1), query.text(2)});
    return result;
}

std::vector<IndexInfo> CatalogueReader::indexes(const std::string& table) const
{
    std::vector<IndexInfo> result;
    Query list(db_, "PRAGMA index_list(" + quotedName(table) + ")");
    while (list.next()) result.push_back({list.text(1), {}, list.integer(2) != 0});
    for (auto& index : result) {
        Query info(db_, "PRAGMA index_info(" + quotedName(index.name) + ")");
        while (info.next()) index.columns.push_back(info.text(2));
    }
    std::sort(result.begin(), result.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return result;
}

std::int64_t CatalogueReader::integer(const std::string& sql) const
{
    Query query(db_, sql);
    if (!query.next()) throw std::runtime_error("no row from " + sql);
    return query.integer(0);
}

std::string CatalogueReader::text(const std::string& sql) const
{
    Query query(db_, sql);
    if (!query.next()) throw std::runtime_error("no row from " + sql);
    return query.text(0);
}

std::vector<std::string> CatalogueReader::texts(const std::string& sql) const
{
    std::vector<std::string> result;
    Query query(db_, sql);
    while (query.next()) result.push_back(query.text(0));
    return result;
}

const TempFolder& EveryLevelFolder()
{
    static const TempFolder folder;
    static const bool written = [] {
        sample::SampleOptions options;
        options.films = everyLevelFilms;
        options.loans = everyLevelLoans;
        options.seed = 7;
        sample::WriteEveryLevel(folder.path(), options);
        return true;
    }();
    (void)written;
    return folder;
}

}  // namespace sample_test
