#pragma once
// Temporary folders and catalogue files made without the engine.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "db/engine/connection.h"
#include "db/engine/connection_string.h"
#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"

namespace engine_test {

using TempDir = test_support::TempFolder;

// Creates a file with the sqlite3 C API and runs the statements on it.
inline void makeSqliteFile(const std::string& path, const std::string& sql)
{
    test_support::SqliteFile(path, test_support::SqliteFile::Mode::Create).exec(sql);
}

// The first column of the first row of a query, as text, read without the engine.
inline std::string queryText(const std::string& path, const std::string& sql)
{
    return test_support::SqliteFile(path).scalar(sql).value_or("<null>");
}

inline std::unique_ptr<engine::Connection> openConnection(const std::string& path)
{
    auto connection = std::make_unique<engine::Connection>();
    connection->setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Mode=ReadWrite;Data Source=" +
                                    engine::quoteDataSource(path));
    connection->open();
    return connection;
}

}  // namespace engine_test
