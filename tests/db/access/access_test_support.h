#pragma once
// Access files made by the sample writer, and the catalogue files the
// converter makes of them read back without the engine.

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tools/sample/access/access_file.h"

namespace access_test {

namespace sa = sample::access;
using test_support::TempFolder;

// The first column of every row of a query, each as "type:text" (blobs as
// their bytes, NULL as "null").
inline std::vector<std::string> Column(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    std::vector<std::string> out;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        out.push_back(std::string("<error> ") + sqlite3_errmsg(db));
    } else {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const char* const types[] = {"", "integer", "real", "text", "blob", "null"};
            const int type = sqlite3_column_type(stmt, 0);
            std::string value(types[type]);
            if (type != SQLITE_NULL) {
                const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, 0));
                value += ":" + std::string(bytes ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, 0)));
            }
            out.push_back(std::move(value));
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

inline std::string One(const std::string& path, const std::string& sql)
{
    const auto values = Column(path, sql);
    return values.empty() ? "<none>" : values.front();
}

}  // namespace access_test
