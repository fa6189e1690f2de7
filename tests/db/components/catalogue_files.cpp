#include "catalogue_files.h"

#include <stdlib.h>

#include <algorithm>
#include <stdexcept>

#include "tests/support/sqlite_file.h"

namespace components_test {

void MakeCatalogue(const std::string& path, const std::string& sql)
{
    test_support::SqliteFile(path, test_support::SqliteFile::Mode::Create).exec(sql);
}

void MakeLoansCatalogue(const std::string& path)
{
    const char* data = std::getenv("VK_TEST_DATA");
    const std::string sql = FileBytes(std::string(data ? data : "tests/data") + "/components/loans_catalogue.sql");
    if (sql.empty()) throw std::runtime_error("loans_catalogue.sql not found; is VK_TEST_DATA set?");
    MakeCatalogue(path, sql);
}

std::vector<std::string> QueryColumn(const std::string& path, const std::string& sql)
{
    std::vector<std::string> values;
    for (const auto& cell : test_support::SqliteFile(path).column(sql)) values.push_back(cell.value_or("<null>"));
    return values;
}

std::vector<std::string> StoredIndexNames(const std::string& path, const std::string& table)
{
    return QueryColumn(path, "SELECT name FROM sqlite_master WHERE type = 'index' AND substr(name, 1, " +
                                 std::to_string(table.size() + 1) + ") = '" + table + ".' ORDER BY name");
}

}  // namespace components_test
