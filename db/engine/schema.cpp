#include "db/engine/schema.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "db/engine/case_fold.h"
#include "db/engine/compaction.h"
#include "db/engine/database_file.h"
#include "db/engine/declared_type.h"
#include "db/engine/engine_error.h"
#include "db/engine/msys_catalog.h"
#include "db/engine/name_collation.h"
#include "db/engine/schema.h"
#include "db/engine/structure_change.h"
#include "db/engine/table_schema.h"
#include "db/engine/views_and_triggers.h"

namespace engine {

namespace {

DatabaseFile& openFile(const std::shared_ptr<DatabaseFile>& file)
{
    if (!file) throw EngineError("The database is closed.");
    return *file;
}

}  // namespace

Database::Database(std::shared_ptr<DatabaseFile> file) : file_(std::move(file))
{
    if (!file_) throw EngineError("No database file.");
    path_ = file_->path();
}

Database::~Database() = default;

void Database::close()
{
    file_.reset();
}

const std::string& Database::path() const
{
    return path_;
}

void Database::refreshTableDefs()
{
    // Table definitions are read from the file on every call; nothing is cached.
    openFile(file_);
}

void Database::restoreViewsAndTriggers()
{
    openFile(file_).restoreViewsAndTriggers();
}

TableDef Database::tableDef(const std::string& name) const
{
    auto& file = openFile(file_);
    return TableDef(file_, detail::requireUserTable(file.statements(), name));
}

std::vector<std::string> Database::tableNames() const
{
    return detail::userTableNames(openFile(file_).statements());
}

Workspace::Workspace(std::string name) : name_(std::move(name)) {}

std::unique_ptr<Database> Workspace::openDatabase(const std::string& path, bool exclusive, bool readOnly,
                                                  const std::string& connect)
{
    (void)connect;  // user and password: files carry no accounts
    if (!open_) throw EngineError("The workspace is closed.");
    if (exclusive || readOnly) throw EngineError("Only shared read/write access is supported.");
    return std::make_unique<Database>(DatabaseFile::open(path));
}

void Workspace::close()
{
    open_ = false;
}

bool isFileOpenInProcess(const std::string& path)
{
    return DatabaseFile::isOpen(path);
}

const EngineCatalog& EngineCatalog::system()
{
    static const EngineCatalog catalog;
    return catalog;
}

DbEngine::DbEngine(const std::string& version, const EngineCatalog& catalog) : version_(version)
{
    const auto& versions = catalog.installedVersions;
    if (std::find(versions.begin(), versions.end(), version) == versions.end())
        throw EngineError("Database engine version " + version + " is not installed.");
}

std::shared_ptr<Workspace> DbEngine::createWorkspace(const std::string& name, const std::string& /*user*/,
                                                     const std::string& /*password*/, int /*type*/)
{
    return std::make_shared<Workspace>(name);
}

void DbEngine::appendWorkspace(std::shared_ptr<Workspace> workspace)
{
    if (!workspace) throw EngineError("No workspace to append.");
    workspaces_.push_back(std::move(workspace));
}

void DbEngine::compactDatabase(const std::string& source, const std::string& target, const std::string& password)
{
    (void)password;  // files carry no password
    detail::compactFile(source, target);
}

namespace {

void storeProperty(DatabaseFile& file, const std::string& table, const std::string& field,
                   void (*change)(detail::FieldProperties&, bool), bool value)
{
    auto& statements = file.statements();
    const auto fields = detail::tableFields(statements, table);
    if (std::none_of(fields.begin(), fields.end(), [&](const auto& f) { return f.name == field; }))
        throw EngineError("Item '" + field + "' not found in this collection.");
    detail::Savepoint savepoint(file.handle());
    auto properties = detail::fieldProperties(statements, table, field);
    change(properties, value);
    detail::writeFieldProperties(statements, table, field, properties);
    savepoint.release();
}

}  // namespace

Field::Field(std::string name, FieldKind kind, std::int32_t size) : name_(std::move(name)), kind_(kind), size_(size) {}

void Field::setRequired(bool value)
{
    if (file_)
        storeProperty(
            *file_, table_, name_, [](detail::FieldProperties& p, bool v) { p.required = v; }, value);
    required_ = value;
}

void Field::setAllowZeroLength(bool value)
{
    if (file_)
        storeProperty(
            *file_, table_, name_, [](detail::FieldProperties& p, bool v) { p.allowZeroLength = v; }, value);
    allowZeroLength_ = value;
}

Index::Index(std::string name) : name_(std::move(name)) {}

namespace {

[[noreturn]] void notFound(const std::string& item)
{
    throw EngineError("Item '" + item + "' not found in this collection.");
}

const detail::FieldInfo* findField(const std::vector<detail::FieldInfo>& fields, const std::string& name)
{
    const auto it = std::find_if(fields.begin(), fields.end(),
                                 [&](const auto& f) { return detail::equalsIgnoringCase(f.name, name); });
    return it == fields.end() ? nullptr : &*it;
}

const detail::IndexInfo* findIndex(const std::vector<detail::IndexInfo>& indexes, const std::string& name)
{
    const auto it = std::find_if(indexes.begin(), indexes.end(),
                                 [&](const auto& i) { return detail::equalsIgnoringCase(i.name, name); });
    return it == indexes.end() ? nullptr : &*it;
}

}  // namespace

TableDef::TableDef(std::shared_ptr<DatabaseFile> file, std::string name)
    : file_(std::move(file)), name_(std::move(name))
{
}

Field TableDef::createField(const std::string& name, FieldKind kind, std::int32_t size) const
{
    return Field(name, kind, size);
}

void TableDef::appendField(const Field& field)
{
    auto& file = openFile(file_);
    auto& statements = file.statements();
    if (field.name().empty() || detail::isReservedName(field.name()))
        throw EngineError("'" + field.name() + "' is not a valid field name.");
    const std::string declared = detail::declaredTypeFor(field.kind(), field.size());
    if (findField(detail::tableFields(statements, name_), field.name()))
        throw EngineError("Field '" + field.name() + "' already exists in table '" + name_ + "'.");

    detail::Savepoint savepoint(file.handle());
    // A Yes/No column's default makes the rows kept from before read No.
    statements.exec("ALTER TABLE " + detail::quoteIdentifier(name_) + " ADD COLUMN " +
                    detail::quoteIdentifier(field.name()) + " " + declared +
                    (field.kind() == FieldKind::YesNo ? " NOT NULL DEFAULT 0" : ""));
    detail::writeFieldProperties(statements, name_, field.name(), {field.required(), field.allowZeroLength()});
    savepoint.release();
}

void TableDef::deleteField(const std::string& name)
{
    auto& file = openFile(file_);
    auto& statements = file.statements();
    const auto columns = detail::tableColumns(statements, name_);
    const auto fields = detail::tableFields(statements, name_);
    const auto* field = findField(fields, name);
    if (!field) notFound(name);
    for (const auto& index : detail::tableIndexes(statements, name_))
        for (const auto& indexField : index.fields)
            if (detail::equalsIgnoringCase(indexField, field->name))
                throw EngineError(
                    "Cannot delete a field that is part of an index or is needed by the system. (field '" + name_ +
                    "." + field->name + "')");

    // Renaming costs nothing, where dropping the column would rewrite every row.
    detail::StructureChange change(file);
    statements.exec("ALTER TABLE " + detail::quoteIdentifier(name_) + " RENAME COLUMN " +
                    detail::quoteIdentifier(field->name) + " TO " +
                    detail::quoteIdentifier(detail::freeHiddenName(columns)));
    detail::forgetField(statements, name_, field->name);
    change.complete();
}

Field TableDef::field(const std::string& name) const
{
    auto& statements = openFile(file_).statements();
    const auto fields = detail::tableFields(statements, name_);
    const auto* info = findField(fields, name);
    if (!info) notFound(name);
    Field result(info->name, info->kind.kind, info->kind.size);
    const auto properties = detail::fieldProperties(statements, name_, info->name);
    result.required_ = properties.required;
    result.allowZeroLength_ = properties.allowZeroLength;
    result.file_ = file_;
    result.table_ = name_;
    return result;
}

std::vector<Field> TableDef::fields() const
{
    auto& statements = openFile(file_).statements();
    std::vector<Field> result;
    for (const auto& info : detail::tableFields(statements, name_)) {
        Field field(info.name, info.kind.kind, info.kind.size);
        const auto properties = detail::fieldProperties(statements, name_, info.name);
        field.required_ = properties.required;
        field.allowZeroLength_ = properties.allowZeroLength;
        field.file_ = file_;
        field.table_ = name_;
        result.push_back(std::move(field));
    }
    return result;
}

int TableDef::fieldCount() const
{
    return static_cast<int>(detail::tableFields(openFile(file_).statements(), name_).size());
}

bool TableDef::fieldHoldsValue(const std::string& name) const
{
    auto& statements = openFile(file_).statements();
    const auto fields = detail::tableFields(statements, name_);
    const auto* field = findField(fields, name);
    if (!field) notFound(name);
    detail::Statement query(file_->handle(), "SELECT 1 FROM " + detail::quoteIdentifier(name_) + " WHERE " +
                                                 detail::quoteIdentifier(field->name) + " IS NOT NULL LIMIT 1");
    detail::StatementUse use(query);
    return query.step();
}

Index TableDef::createIndex(const std::string& name) const
{
    return Index(name);
}

void TableDef::appendIndex(const Index& index)
{
    auto& file = openFile(file_);
    auto& statements = file.statements();
    if (index.name().empty()) throw EngineError("An index needs a name.");
    if (index.fields().empty()) throw EngineError("The index '" + index.name() + "' has no fields.");
    const auto existing = indexes();
    if (std::any_of(existing.begin(), existing.end(),
                    [&](const Index& i) { return detail::equalsIgnoringCase(i.name(), index.name()); }))
        throw EngineError("Index '" + index.name() + "' already exists in table '" + name_ + "'.");
    if (index.primary() && std::any_of(existing.begin(), existing.end(), [](const Index& i) { return i.primary(); }))
        throw EngineError("Primary key already exists.");

    const auto fields = detail::tableFields(statements, name_);
    std::string columns;
    for (const auto& name : index.fields()) {
        const auto* field = findField(fields, name);
        if (!field)
            throw EngineError("Field '" + name + "' of index '" + index.name() + "' is not in table '" + name_ + "'.");
        columns += (columns.empty() ? "" : ", ") + detail::quoteIdentifier(field->name);
    }

    detail::Savepoint savepoint(file.handle());
    const bool unique = index.unique() || index.primary();
    const std::string sqliteName = name_ + "." + index.name();
    statements.exec(std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " +
                    detail::quoteIdentifier(sqliteName) + " ON " + detail::quoteIdentifier(name_) + "(" + columns +
                    ")");
    if (index.primary()) detail::markPrimaryIndex(statements, name_, index.name());
    savepoint.release();
    if (!unique && detail::tableIsEmpty(statements, name_)) file.indexMade(name_, sqliteName);
}

void TableDef::deleteIndex(const std::string& name)
{
    auto& file = openFile(file_);
    auto& statements = file.statements();
    const auto existing = detail::tableIndexes(statements, name_);
    const auto* index = findIndex(existing, name);
    if (!index) notFound(name);
    detail::Savepoint savepoint(file.handle());
    statements.exec("DROP INDEX " + detail::quoteIdentifier(index->sqliteName));
    detail::forgetIndex(statements, name_, index->name);
    savepoint.release();
}

int TableDef::indexCount() const
{
    return static_cast<int>(detail::tableIndexes(openFile(file_).statements(), name_).size());
}

Index TableDef::index(int position) const
{
    const auto all = indexes();
    if (position < 0 || static_cast<std::size_t>(position) >= all.size()) notFound(std::to_string(position));
    return all[static_cast<std::size_t>(position)];
}

std::vector<Index> TableDef::indexes() const
{
    auto& statements = openFile(file_).statements();
    std::vector<Index> result;
    for (const auto& info : detail::tableIndexes(statements, name_)) {
        Index index(info.name);
        index.setUnique(info.unique);
        index.setPrimary(info.unique && detail::isPrimaryIndex(statements, name_, info.name));
        for (const auto& field : info.fields) index.appendField(field);
        result.push_back(std::move(index));
    }
    return result;
}

// Whether the views and triggers of a file would survive a change of its
// tables, tried on a copy of its structure in memory: the file stays as it is,
// and the answer is the one the change itself would give (ViewsAndTriggers).

namespace {

struct SchemaEntry {
    std::string type;
    std::string name;
    std::string sql;
};

std::vector<SchemaEntry> schemaOf(sqlite3* db)
{
    std::vector<SchemaEntry> entries;
    detail::Statement query(db,
                            "SELECT type, name, sql FROM sqlite_schema WHERE type IN ('table', 'view', 'trigger') "
                            "AND sql IS NOT NULL AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
    detail::StatementUse use(query);
    while (query.step()) entries.push_back({query.columnString(0), query.columnString(1), query.columnString(2)});
    return entries;
}

bool exists(sqlite3* db, const std::string& name)
{
    detail::Statement query(db, "SELECT 1 FROM sqlite_schema WHERE name = ?1 COLLATE NOCASE");
    detail::StatementUse use(query);
    query.bindText(1, name);
    return query.step();
}

// The structure of the file in memory, tables first; false when a part of it
// cannot be made there (a module or function of another tool).
bool copyStructure(sqlite3* model, const std::vector<SchemaEntry>& entries)
{
    for (const bool tables : {true, false}) {
        for (const auto& entry : entries) {
            if ((entry.type == "table") != tables) continue;
            // A virtual table makes its own shadow tables.
            if (tables && exists(model, entry.name)) continue;
            if (sqlite3_exec(model, entry.sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
                // A view or trigger that cannot be made did not work before either.
                if (tables) return false;
            }
        }
    }
    return true;
}

}  // namespace

std::optional<std::pair<std::size_t, ViewOrTriggerBroken>> Database::forecastViewsAndTriggers(
    const std::vector<TableShape>& shapes) const
{
    if (!file_) throw EngineError("The database is closed.");
    const auto entries = schemaOf(file_->handle());
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const detail::SqliteHandle model(raw);
    if (rc != SQLITE_OK) detail::throwSqliteError(model.get(), rc);
    // As the file's own connection compiles them.
    sqlite3_db_config(model.get(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    detail::registerNameCollation(model.get());
    if (!copyStructure(model.get(), entries)) return std::nullopt;

    detail::StatementCache cache(model.get());
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const auto& shape = shapes[i];
        // A view under the table's name cannot take a shape: the change itself fails on it.
        if (!detail::tableExists(cache, shape.table)) return std::nullopt;
        detail::ViewsAndTriggers aside;
        aside.setAside(cache);
        std::string columns;
        for (const auto& field : shape.fields)
            columns += (columns.empty() ? "" : ", ") + detail::quoteIdentifier(field);
        const std::string table = detail::quoteIdentifier(shape.table);
        cache.exec("DROP TABLE " + table);
        cache.exec("CREATE TABLE " + table + " (" + columns.append(")"));
        try {
            aside.restore(cache);
        } catch (const ViewOrTriggerBroken& broken) {
            return std::make_pair(i, broken);
        }
    }
    return std::nullopt;
}

}  // namespace engine
