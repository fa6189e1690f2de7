#pragma once
#include <gtest/gtest.h>

#include <string>

#include "catalogue_files.h"
#include "db/TovaskADODB/tovask_ado_base.h"
#include "db/TovaskADODB/tovask_ado_table.h"
#include "db/engine/connection_string.h"

namespace components_test {

inline std::string ConnectionStringFor(const std::string& path)
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;Mode=ReadWrite;Data Source=" + engine::quoteDataSource(path);
}

// The main window's three components over a loans catalogue, database open.
class LoansCatalogue : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeLoansCatalogue(path);
        dbFilm.SetConnectionString(ConnectionStringFor(path));
        dbFilm.OpenBase();
        mdbFilmy.SetConnection(&dbFilm);
        mdbFilmy.SetTableName("WYPOZYCZ");
    }

    // The rebuild's first steps inside the file's transaction: the rows read
    // by a clone, the stored table emptied, the table open for new rows.
    void BeginRebuild()
    {
        dbFilm.BeginTrans();
        mdbFilmy.Open();
        mdbClone.Clone(mdbFilmy);
        mdbFilmy.Close();
        dbFilm.AdoConnection().emptyTable("WYPOZYCZ");
        mdbFilmy.Open();
    }

    TempFolder folder;
    std::string path = folder.file("filmy.mdb");
    TovaskADODB::TTovaskADOBase dbFilm{"dbFilm"};
    TovaskADODB::TTovaskADOTable mdbFilmy{"mdbFilmy"};
    TovaskADODB::TTovaskADOTable mdbClone{"mdbClone"};
};

// Runs statement and gives the message of the EDatabaseError it raises ("" when none).
template <typename Statement>
std::string DatabaseErrorOf(Statement&& statement)
{
    try {
        statement();
    } catch (const TovaskADODB::EDatabaseError& error) {
        return error.what();
    }
    return {};
}

}  // namespace components_test
