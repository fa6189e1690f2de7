#pragma once
// Access files made by the sample writer, and the catalogue files the
// converter makes of them read back without the engine.

#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <filesystem>

#include "db/TovaskADODB/database_error.h"
#include "db/access/access_converter.h"
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

// The cause the converter gives, "" when it converts (the new file is then
// removed again); after a refusal no new file may remain.
inline std::string ConversionCause(const std::string& source, const std::string& converted)
{
    try {
        accessdb::ConvertAccessFile(source, converted);
    } catch (const TovaskADODB::EDatabaseError& error) {
        EXPECT_FALSE(std::filesystem::exists(converted)) << error.what();
        return error.what();
    }
    std::filesystem::remove(converted);
    return {};
}

inline std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

inline void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Little-endian numbers inside a file's bytes, as Jet stores them.
inline std::uint32_t U32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

inline void PutU32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    std::memcpy(bytes.data() + at, &value, 4);
}

inline unsigned U16(const std::string& bytes, std::size_t at)
{
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

inline void PutU16(std::string& bytes, std::size_t at, unsigned value)
{
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

}  // namespace access_test
