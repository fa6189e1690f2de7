// vidarkon-sample --access: each catalogue level as an Access file holding
// exactly the tables, fields, properties, indexes and rows of the SQLite
// sample made from the same options, as libmdb and mdb-export read them.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "access_file_reader.h"
#include "tests/support/temp_folder.h"
#include "tools/sample/access/jet_text.h"
#include "tools/sample/catalogue_structures.h"
#include "tools/sample/command_line.h"
#include "tools/sample/sample_catalogue.h"

using namespace access_test;
using sample::FileFormat;
using test_support::TempFolder;

namespace {

const std::vector<std::string> levels = {"no-aka",     "no-subtype", "no-videodvd", "ready-yesno",
                                         "ready-long", "upgraded",   "no-loans",    "no-films"};

// Each level twice, from the same options: "<level>.mdb" in the catalogue
// format and "<level>.access.mdb".
const TempFolder& twins()
{
    static const TempFolder folder;
    static const bool written = [] {
        sample::SampleOptions options;
        options.films = 300;
        options.loans = 150;
        options.seed = 7;
        for (const auto& level : levels) {
            options.level = *sample::LevelNamed(level);
            options.format = FileFormat::Sqlite;
            sample::WriteSampleCatalogue(folder / (level + ".mdb"), options);
            options.format = FileFormat::Access;
            sample::WriteSampleCatalogue(folder / (level + ".access.mdb"), options);
        }
        return true;
    }();
    (void)written;
    return folder;
}

class SqliteRows {
public:
    explicit SqliteRows(const std::filesystem::path& file)
    {
        if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + file.string());
    }
    ~SqliteRows() { sqlite3_close(db_); }
    SqliteRows(const SqliteRows&) = delete;
    SqliteRows& operator=(const SqliteRows&) = delete;

    // Texts as stored (a Memo kept as a BLOB is its text), nullText for NULL.
    std::vector<Row> rows(const std::string& table) const
    {
        sqlite3_stmt* statement = nullptr;
        const std::string sql = "SELECT * FROM \"" + table + "\"";
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        std::vector<Row> rows;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            Row row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
                    row.emplace_back(nullText);
                } else {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                    row.emplace_back(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, i)));
                }
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(statement);
        return rows;
    }

private:
    sqlite3* db_ = nullptr;
};

std::vector<std::string> sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

std::string bytesOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string asString(const sample::access::ByteVector& bytes)
{
    return {bytes.begin(), bytes.end()};
}

}  // namespace

TEST(AccessSample, EveryLevelHoldsTheRowsOfItsSqliteTwin)
{
    for (const auto& level : levels) {
        const auto accessFile = twins() / (level + ".access.mdb");
        const MdbFile access(accessFile);
        const SqliteRows sqlite(twins() / (level + ".mdb"));
        const auto structure = sample::StructureOf(*sample::LevelNamed(level));
        std::vector<std::string> expected = {"OSOBY"};
        if (structure.films) expected.push_back("FILMY");
        if (structure.loans) expected.push_back("WYPOZYCZ");
        if (structure.albums) expected.push_back("PLYTY");
        EXPECT_EQ(sorted(access.userTables()), sorted(expected)) << level;
        EXPECT_EQ(sorted(access.systemTables()), (std::vector<std::string>{"MSysObjects", "MSysRelationships"}));
        for (const auto& table : access.userTables()) {
            const auto rows = sqlite.rows(table);
            EXPECT_EQ(access.rows(table), rows) << level << " " << table;
            // mdb-export: the same, under its column names; it writes no empty text.
            auto exported = MdbExport(accessFile, table);
            ASSERT_FALSE(exported.empty());
            exported.erase(exported.begin());
            auto withoutEmpty = rows;
            for (auto& row : withoutEmpty)
                for (auto& value : row)
                    if (value.empty()) value = nullText;
            EXPECT_EQ(exported, withoutEmpty) << level << " " << table;
        }
    }
}

TEST(AccessSample, FieldsKeepTheirTypesSizesPropertiesAndIndexes)
{
    for (const auto& level : levels) {
        const MdbFile access(twins() / (level + ".access.mdb"));
        const auto structure = sample::StructureOf(*sample::LevelNamed(level));
        auto check = [&](const auto& table) {
            const auto columns = access.columns(table.name);
            const auto fields = table.fields();
            ASSERT_EQ(columns.size(), fields.size()) << level << " " << table.name;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                const auto& field = fields[i];
                const auto& column = columns[i];
                const std::string where = level + " " + table.name + "." + field.name;
                EXPECT_EQ(column.name, field.name) << where;
                using K = sample::FieldKind;
                const int type = field.kind == K::YesNo      ? 0x01
                                 : field.kind == K::Long     ? 0x04
                                 : field.kind == K::DateTime ? 0x08
                                 : field.kind == K::Text     ? 0x0A
                                                             : 0x0C;
                EXPECT_EQ(column.type, type) << where;
                if (field.kind == K::Text) {
                    EXPECT_EQ(column.size, 2 * field.size) << where;
                }
                EXPECT_EQ(column.required, field.required ? "yes" : "no") << where;
                const bool textual = field.kind == K::Text || field.kind == K::Memo;
                EXPECT_EQ(column.allowZeroLength, !textual ? "" : field.allowZeroLength ? "yes" : "no") << where;
                const bool autoNumberKey = i == 0 && (table.name == "OSOBY" || table.name == "PLYTY");
                EXPECT_EQ(column.autoNumber, autoNumberKey) << where;
            }
            const auto indexes = access.indexes(table.name);
            ASSERT_EQ(indexes.size(), table.indexes.size()) << level << " " << table.name;
            for (std::size_t i = 0; i < indexes.size(); ++i) {
                EXPECT_EQ(indexes[i].name, table.indexes[i].name) << level;
                EXPECT_EQ(indexes[i].columns, std::vector<std::string>{table.indexes[i].field}) << level;
                EXPECT_EQ(indexes[i].primary, table.indexes[i].primary) << level;
                EXPECT_EQ(indexes[i].unique, table.indexes[i].primary) << level;
            }
        };
        check(structure.people);
        if (structure.films) check(*structure.films);
        if (structure.loans) check(*structure.loans);
        if (structure.albums) check(*structure.albums);
    }
}

// The people's texts are stored plain, the films' compressed where that is
// shorter: Polish letters in both forms, in every catalogue.
TEST(AccessSample, PolishLettersAppearInBothUnicodeForms)
{
    using sample::access::StoredText;
    using sample::access::Utf16;
    using sample::access::Utf16Bytes;
    for (const auto& level : levels) {
        const auto file = twins() / (level + ".access.mdb");
        const std::string bytes = bytesOf(file);
        const MdbFile access(file);
        int plain = 0, compressed = 0;
        for (const auto& row : access.rows("OSOBY")) {
            const std::u16string surname = Utf16(row[2]);
            if (std::any_of(surname.begin(), surname.end(), [](char16_t c) { return c >= 0x100; }) &&
                bytes.find(asString(Utf16Bytes(surname))) != std::string::npos)
                ++plain;
        }
        const std::string table = level == "no-films" ? "PLYTY" : "FILMY";
        for (const auto& row : access.rows(table)) {
            const std::u16string title = Utf16(row[2]);
            const auto stored = StoredText(title, true);
            if (std::any_of(title.begin(), title.end(), [](char16_t c) { return c >= 0x100; }) &&
                sample::access::IsCompressed(stored) && bytes.find(asString(stored)) != std::string::npos)
                ++compressed;
        }
        EXPECT_GT(plain, 0) << level;
        EXPECT_GT(compressed, 0) << level;
    }
}

TEST(AccessSample, HeavyFilmsKeepLongMemosOnPagesOfTheirOwn)
{
    const TempFolder folder;
    sample::SampleOptions options;
    options.films = 80;
    options.loans = 10;
    options.shape = sample::FilmShape::Heavy;
    sample::WriteSampleCatalogue(folder / "heavy.mdb", options);
    options.format = FileFormat::Access;
    sample::WriteSampleCatalogue(folder / "heavy.access.mdb", options);
    const MdbFile access(folder / "heavy.access.mdb");
    EXPECT_EQ(access.rows("FILMY"), SqliteRows(folder / "heavy.mdb").rows("FILMY"));
    auto has = [](const std::vector<int>& kinds, int kind) {
        return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
    };
    const auto descriptions = access.longValueKinds("FILMY", "OPIS");
    EXPECT_TRUE(has(descriptions, 0x00));                                // on a chain of pages
    EXPECT_TRUE(has(descriptions, 0x40));                                // on one page
    EXPECT_TRUE(has(access.longValueKinds("FILMY", "VideoDVD"), 0x80));  // inline
}

TEST(AccessSample, TheCommandLineMakesAccessFiles)
{
    const std::vector<std::string_view> access = {"--access", "-l", "upgraded", "a.mdb"};
    EXPECT_EQ(sample::ParseCommandLine(access).options.format, FileFormat::Access);
    const std::vector<std::string_view> plain = {"a.mdb"};
    EXPECT_EQ(sample::ParseCommandLine(plain).options.format, FileFormat::Sqlite);
    const std::vector<std::string_view> both = {"--access", "--plain", "a.mdb"};
    EXPECT_THROW(sample::ParseCommandLine(both), sample::UsageError);
    EXPECT_NE(sample::HelpText().find("--access"), std::string::npos);

    const TempFolder folder;
    sample::SampleOptions options;
    options.films = 5;
    options.loans = 2;
    options.format = FileFormat::Access;
    const auto files = sample::WriteEveryLevel(folder.path(), options);
    ASSERT_EQ(files.size(), levels.size());
    for (const auto& file : files) {
        EXPECT_EQ(bytesOf(file).substr(0, 19), std::string("\0\1\0\0Standard Jet DB", 19)) << file;
        EXPECT_EQ(std::filesystem::file_size(file) % 4096, 0u) << file;
    }
    EXPECT_EQ(folder.entries().size(), levels.size());  // nothing left beside them
    EXPECT_THROW(sample::WriteSampleCatalogue(files[0], options), sample::SampleError);
}
