#pragma once
// Temporary folders and catalogue files made without the engine.

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "db/engine/connection.h"
#include "db/engine/connection_string.h"
#include "tests/support/temp_folder.h"

namespace engine_test {

using TempDir = test_support::TempFolder;

// Creates a file with the sqlite3 C API and runs the statements on it.
inline void makeSqliteFile(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message;
}

// The first column of the first row of a query, as text, read without the engine.
inline std::string queryText(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    std::string result = "<error>";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
        result = "<none>";
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(stmt, 0);
            result = text ? reinterpret_cast<const char*>(text) : "<null>";
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
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
