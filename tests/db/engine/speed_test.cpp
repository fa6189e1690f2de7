// The upgrade's hot paths against what SQLite itself needs. Bounds are
// generous so that a busy machine never fails them; they catch SQL parsed per
// row, rows rewritten per structure change and the like.

#include "db/engine/database_file.h"
#include "db/engine/recordset.h"
#include "db/engine/schema.h"
#include "engine_test_support.h"

#include <sqlite3.h>

#include <chrono>

using namespace engine;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int rowCount = 10000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int rowCount = 10000;
#else
constexpr int rowCount = 100000;
#endif
#else
constexpr int rowCount = 100000;
#endif

// Unoptimised builds run the engine's own code many times slower than the
// optimised SQLite library it is measured against.
#if defined(__OPTIMIZE__)
constexpr double slack = 1.0;
#else
constexpr double slack = 4.0;
#endif

template <typename F>
double seconds(F action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string rows(const std::string& table, const std::string& values)
{
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rowCount) +
           ") INSERT INTO " + table + " SELECT " + values + " FROM n;";
}

constexpr const char* tenColumns =
    "(ID LONG, TYTUL TEXT(100), ORYG TEXT(100), ROK LONG, JEST BIT NOT NULL DEFAULT 0, DATA_W DATETIME, "
    "OPIS MEMO, CENA LONG, NOSNIK TEXT(10), OCENA LONG)";
constexpr const char* tenValues =
    "i, 'Tytuł filmu ' || i, 'Original title ' || i, 1950 + i % 70, i % 2, '2001-02-03 04:05:06', "
    "'Opis filmu, który jest nieco dłuższy niż tytuł ' || i, i * 3, 'DVD', i % 10";

TEST(Speed, DeletingAndAppendingFieldsDoesNotRewriteRows)
{
    engine_test::TempDir dir;
    const std::string path = dir.file("films.mdb");
    std::string columns = "ID LONG";
    std::string values = "i";
    for (int c = 1; c <= 37; ++c) {
        columns += ", OLD" + std::to_string(c) + " TEXT(30)";
        values += ", 'old value ' || i";
    }
    engine_test::makeSqliteFile(path, "CREATE TABLE FILMY(" + columns + ");" + rows("FILMY", values));

    auto connection = engine_test::openConnection(path);
    auto database = Workspace("w").openDatabase(path, false, false, "");
    auto table = database->tableDef("FILMY");
    // In one transaction, so that the disk syncs of 81 commits on a busy
    // machine do not hide what is measured: rows rewritten or not.
    const double elapsed = seconds([&] {
        connection->beginTransaction();
        for (int c = 1; c <= 37; ++c) table.deleteField("OLD" + std::to_string(c));
        for (int c = 1; c <= 44; ++c)
            table.appendField(Field("NEW" + std::to_string(c), c % 2 ? FieldKind::Text : FieldKind::Long, 50));
        connection->commitTransaction();
    });
    EXPECT_EQ(table.fieldCount(), 45);
    EXPECT_LT(elapsed, slack * 0.5) << "deleting 37 and appending 44 fields of " << rowCount << " rows";
}

TEST(Speed, ReadingIsCloseToPlainSqlite)
{
    engine_test::TempDir dir;
    const std::string path = dir.file("read.mdb");
    engine_test::makeSqliteFile(path, std::string("CREATE TABLE T") + tenColumns + ";" + rows("T", tenValues));

    std::size_t bytes = 0;
    double plain = 0;
    {
        const test_support::SqliteFile file(path);
        sqlite3* db = file.handle();
        plain = seconds([&] {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(db, "SELECT * FROM T", -1, &stmt, nullptr);
            while (sqlite3_step(stmt) == SQLITE_ROW)
                for (int c = 0; c < 10; ++c) {
                    if (sqlite3_column_type(stmt, c) == SQLITE_TEXT) {
                        const auto* text = sqlite3_column_text(stmt, c);
                        bytes += std::string(reinterpret_cast<const char*>(text)).size();
                    } else {
                        bytes += static_cast<std::size_t>(sqlite3_column_int64(stmt, c) & 1);
                    }
                }
            sqlite3_finalize(stmt);
        });
    }

    auto connection = engine_test::openConnection(path);
    StaticRecordset rs;
    const double engine = seconds([&] { rs.open(*connection, "T"); });
    EXPECT_EQ(rs.recordCount(), rowCount);
    EXPECT_GT(bytes, 0u);
    // Holding every value in memory costs its share: 40 bytes a value, first touched here.
    EXPECT_LT(engine, slack * (5 * plain + 0.3)) << "plain SQLite " << plain << " s";
}

TEST(Speed, AppendingIsCloseToPlainSqlite)
{
    engine_test::TempDir dir;
    const std::string path = dir.file("append.mdb");
    std::string sql = std::string("CREATE TABLE PLAIN") + tenColumns + "; CREATE TABLE T" + tenColumns + ";";
    const char* indexed[] = {"ID", "TYTUL", "ORYG", "ROK", "JEST", "DATA_W", "CENA", "NOSNIK", "OCENA", "OPIS"};
    for (const char* column : indexed)
        for (const char* table : {"PLAIN", "T"})
            sql += std::string("CREATE INDEX \"") + table + "." + column + "\" ON " + table + "(" + column + ");";
    engine_test::makeSqliteFile(path, sql);

    auto connection = engine_test::openConnection(path);
    std::vector<Variant> row{std::int32_t{0},
                             "Tytuł filmu",
                             "Original title",
                             std::int32_t{1999},
                             true,
                             DateTime{2001, 2, 3, 4, 5, 6, 0},
                             "Opis filmu, który jest nieco dłuższy niż tytuł",
                             std::int32_t{3},
                             "DVD",
                             std::int32_t{5}};

    sqlite3* db = connection->file()->handle();
    connection->beginTransaction();
    const double plain = seconds([&] {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO PLAIN VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", -1, &stmt, nullptr);
        for (int i = 0; i < rowCount; ++i) {
            sqlite3_bind_int(stmt, 1, i);
            sqlite3_bind_text(stmt, 2, "Tytuł filmu", -1, SQLITE_STATIC);
            sqlite3_bind_text(stmt, 3, "Original title", -1, SQLITE_STATIC);
            sqlite3_bind_int(stmt, 4, 1999);
            sqlite3_bind_int(stmt, 5, 1);
            sqlite3_bind_text(stmt, 6, "2001-02-03 04:05:06", -1, SQLITE_STATIC);
            sqlite3_bind_text(stmt, 7, "Opis filmu, który jest nieco dłuższy niż tytuł", -1, SQLITE_STATIC);
            sqlite3_bind_int(stmt, 8, 3);
            sqlite3_bind_text(stmt, 9, "DVD", -1, SQLITE_STATIC);
            sqlite3_bind_int(stmt, 10, 5);
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
    });
    StaticRecordset rs;
    rs.open(*connection, "T");
    const double engine = seconds([&] {
        for (int i = 0; i < rowCount; ++i) {
            row[0] = std::int32_t{i};
            rs.append(row);
        }
    });
    connection->commitTransaction();
    EXPECT_EQ(rs.recordCount(), rowCount);
    EXPECT_EQ(engine_test::queryText(path, "SELECT count(*) FROM T"), std::to_string(rowCount));
    EXPECT_LT(engine, slack * (2 * plain + 0.3)) << "plain SQLite " << plain << " s";
}

}  // namespace
