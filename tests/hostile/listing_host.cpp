#include "tests/hostile/listing_host.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/files/file_utils.h"
#include "patch/run_patch.h"
#include "tests/support/sqlite_file.h"

namespace hostile_test {

std::string ListingHost::ListFiles(const std::string& folder, const std::string& mask)
{
    return utils::ListFiles(folder, mask, false);
}

bool ListingHost::Listed(const std::string& name) const
{
    return std::find(files.begin(), files.end(), name) != files.end();
}

patch::FileOutcome ListingHost::OutcomeOf(const std::string& name) const
{
    const auto at = std::find(files.begin(), files.end(), name);
    if (at == files.end()) {
        ADD_FAILURE() << name << " was not listed";
        return patch::FileOutcome::Failed;
    }
    return outcomes.at(static_cast<std::size_t>(at - files.begin()));
}

bool FilmsUpgraded(const std::string& path)
{
    const auto rows =
        test_support::QueryRows(path, "SELECT count(*) FROM pragma_table_info('FILMY') WHERE name = 'T_ORG_S'");
    return rows.at(0).at(0) == "1";
}

int RowCount(const std::string& path, const std::string& table)
{
    return std::stoi(*test_support::QueryRows(path, "SELECT count(*) FROM \"" + table + "\"").at(0).at(0));
}

}  // namespace hostile_test
