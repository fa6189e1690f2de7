#include "sample_file_reader.h"

#include <stdlib.h>

#include <algorithm>
#include <stdexcept>

#include "tools/sample/sample_catalogue.h"

namespace sample_test {

namespace {

std::string quotedName(const std::string& name)
{
    return "\"" + name + "\"";
}

}  // namespace

std::vector<std::string> CatalogueReader::tables() const
{
    return texts(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
        "ORDER BY name");
}

std::vector<ColumnInfo> CatalogueReader::columns(const std::string& table) const
{
    std::vector<ColumnInfo> result;
    for (const auto& row : file_.rows("PRAGMA table_info(" + quotedName(table) + ")"))
        result.push_back({row.at(1).value_or("<null>"), row.at(2).value_or("<null>")});
    return result;
}

std::vector<IndexInfo> CatalogueReader::indexes(const std::string& table) const
{
    std::vector<IndexInfo> result;
    for (const auto& row : file_.rows("PRAGMA index_list(" + quotedName(table) + ")"))
        result.push_back({row.at(1).value_or("<null>"), {}, row.at(2).value_or("0") != "0"});
    for (auto& index : result)
        for (const auto& row : file_.rows("PRAGMA index_info(" + quotedName(index.name) + ")"))
            index.columns.push_back(row.at(2).value_or("<null>"));
    std::sort(result.begin(), result.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return result;
}

std::int64_t CatalogueReader::integer(const std::string& sql) const
{
    return std::stoll(file_.scalar(sql).value_or("0"));
}

std::string CatalogueReader::text(const std::string& sql) const
{
    return file_.scalar(sql).value_or("<null>");
}

std::vector<std::string> CatalogueReader::texts(const std::string& sql) const
{
    std::vector<std::string> result;
    for (const auto& cell : file_.column(sql)) result.push_back(cell.value_or("<null>"));
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
