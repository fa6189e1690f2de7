#include "db/engine/catalogue_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "db/engine/catalogue_file.h"
#include "db/engine/declared_type.h"
#include "db/engine/engine_error.h"
#include "db/engine/field_value.h"
#include "db/engine/mapped_reads.h"
#include "db/engine/name_collation.h"
#include "db/engine/table_schema.h"

namespace engine {

using detail::quoteIdentifier;

std::string declaredTypeOf(const NewField& field)
{
    if (field.nextCounter) {
        if (field.kind != FieldKind::Long) throw EngineError("Only a Long field can be an AutoNumber.");
        return "COUNTER";
    }
    std::string declared = detail::declaredTypeFor(field.kind, field.size);
    if (field.kind == FieldKind::YesNo) declared += " NOT NULL DEFAULT 0";
    return declared;
}

CatalogueWriter::CatalogueWriter(std::string path) : path_(std::move(path))
{
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        const int error = errno;
        throw EngineError("Cannot create '" + path_ + "': " + std::strerror(error), 0, error);
    }
    ::close(fd);
    try {
        open(0);
        detail::execSql(db_.get(),
                        "CREATE TABLE MSysFields(TableName TEXT NOT NULL, FieldName TEXT NOT NULL, "
                        "Required INTEGER NOT NULL DEFAULT 0, AllowZeroLength INTEGER NOT NULL DEFAULT 1);"
                        "CREATE TABLE MSysIndexes(TableName TEXT NOT NULL, IndexName TEXT NOT NULL)");
    } catch (...) {
        discard();
        throw;
    }
}

CatalogueWriter::CatalogueWriter(std::string path, EmptyFileGiven given) : path_(std::move(path))
{
    try {
        struct stat info {};
        if (::stat(path_.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size != 0)
            throw EngineError("'" + path_ + "' is not an empty file.", SQLITE_CANTOPEN);
        open(given.pageSize);
        detail::registerNameCollation(db_.get());
    } catch (...) {
        discard();
        throw;
    }
}

void CatalogueWriter::open(int pageSize)
{
    sqlite3* raw = nullptr;
    // Only this process writes the new file: its pages are read through
    // mapped windows (mapped_reads.h), which the index builds want most.
    const int rc =
        sqlite3_open_v2(path_.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, detail::mappedReadsVfs());
    db_.reset(raw);
    if (rc != SQLITE_OK) detail::throwSqliteError(db_.get(), rc);
    sqlite3_extended_result_codes(db_.get(), 1);
    if (pageSize > 0) detail::execSql(db_.get(), "PRAGMA page_size=" + std::to_string(pageSize));
    // A file cut short by a failure is removed, never used: no journal,
    // no syncs until the end, and nobody else may read it meanwhile.
    detail::execSql(db_.get(),
                    "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; "
                    "PRAGMA secure_delete=OFF; PRAGMA mmap_size=1073741824; BEGIN");
}

CatalogueWriter::~CatalogueWriter()
{
    if (!finished_) discard();
}

void CatalogueWriter::discard() noexcept
{
    insert_.reset();
    db_.reset();
    ::unlink(path_.c_str());
    ::unlink((path_ + "-journal").c_str());
}

void CatalogueWriter::beginTable(const NewTable& table)
{
    if (table_) throw EngineError("A table is being written already.");
    if (table.fields.empty()) throw EngineError("Table '" + table.name + "' has no fields.");
    std::string sql = "CREATE TABLE " + quoteIdentifier(table.name) + "(";
    std::string values;
    for (const auto& field : table.fields) {
        if (&field != &table.fields.front()) {
            sql += ", ";
            values += ", ";
        }
        sql += quoteIdentifier(field.name) + " " + declaredTypeOf(field);
        values += "?";
    }
    detail::execSql(db_.get(), sql + ")");
    insert_.emplace(db_.get(), "INSERT INTO " + quoteIdentifier(table.name) + " VALUES(" + values + ")");
    table_ = table;
}

void CatalogueWriter::appendRow(const std::vector<StoredValue>& row)
{
    if (!table_ || row.size() != table_->fields.size()) throw EngineError("A row must give one value for each field.");
    detail::StatementUse use(*insert_);
    for (std::size_t i = 0; i < row.size(); ++i) {
        const StoredValue& value = row[i];
        const int index = static_cast<int>(i) + 1;
        switch (value.type) {
        case StoredValue::Type::Null: use->bindNull(index); break;
        case StoredValue::Type::Integer: use->bindInteger(index, value.integer); break;
        case StoredValue::Type::Real: use->bindDouble(index, value.real); break;
        case StoredValue::Type::Text:
            // As the engine stores it: a Memo that SQLite could read as a number goes in as its bytes.
            if (table_->fields[i].kind == FieldKind::Memo && detail::mayReadAsNumber(value.bytes))
                use->bindBlob(index, value.bytes);
            else
                use->bindText(index, value.bytes);
            break;
        case StoredValue::Type::Bytes: use->bindBlob(index, value.bytes); break;
        }
    }
    use->step();
}

void CatalogueWriter::endTable()
{
    if (!table_) throw EngineError("No table is being written.");
    insert_.reset();
    const NewTable& table = *table_;
    {
        detail::Statement fields(db_.get(),
                                 "INSERT INTO MSysFields(TableName, FieldName, Required, AllowZeroLength) "
                                 "VALUES(?1, ?2, ?3, ?4)");
        for (const auto& field : table.fields) {
            detail::StatementUse use(fields);
            use->bindText(1, table.name);
            use->bindText(2, field.name);
            use->bindInteger(3, field.required ? 1 : 0);
            use->bindInteger(4, field.allowZeroLength ? 1 : 0);
            use->step();
        }
    }
    bool counters = false;
    for (const auto& field : table.fields) counters = counters || field.nextCounter.has_value();
    if (counters) {
        detail::execSql(db_.get(),
                        "CREATE TABLE IF NOT EXISTS MSysCounters(TableName TEXT NOT NULL, FieldName TEXT NOT NULL, "
                        "NextValue INTEGER NOT NULL)");
        detail::Statement insert(db_.get(),
                                 "INSERT INTO MSysCounters(TableName, FieldName, NextValue) VALUES(?1, ?2, ?3)");
        for (const auto& field : table.fields) {
            if (!field.nextCounter) continue;
            detail::StatementUse use(insert);
            use->bindText(1, table.name);
            use->bindText(2, field.name);
            use->bindInteger(3, *field.nextCounter);
            use->step();
        }
    }
    // Indexes once their rows are in: built in one pass each.
    for (const auto& index : table.indexes) {
        if (index.fields.empty()) throw EngineError("Index '" + index.name + "' has no fields.");
        std::string sql = std::string("CREATE ") + (index.primary || index.unique ? "UNIQUE " : "") + "INDEX " +
                          quoteIdentifier(table.name + "." + index.name) + " ON " + quoteIdentifier(table.name) + "(";
        for (const auto& field : index.fields) {
            if (&field != &index.fields.front()) sql += ", ";
            sql += quoteIdentifier(field.name) + (field.descending ? " DESC" : "");
        }
        detail::execSql(db_.get(), sql + ")");
        if (index.primary) {
            detail::Statement mark(db_.get(), "INSERT INTO MSysIndexes(TableName, IndexName) VALUES(?1, ?2)");
            detail::StatementUse use(mark);
            use->bindText(1, table.name);
            use->bindText(2, index.name);
            use->step();
        }
    }
    table_.reset();
}

void CatalogueWriter::finish(Durability durability)
{
    if (table_) throw EngineError("Table '" + table_->name + "' is not finished.");
    detail::execSql(db_.get(), "COMMIT");
    const int rc = sqlite3_close(db_.get());
    if (rc != SQLITE_OK) detail::throwSqliteError(db_.get(), rc);
    (void)db_.release();
    if (durability == Durability::Synced) detail::syncFile(path_);
    finished_ = true;
}

}  // namespace engine
