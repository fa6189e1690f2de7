#include "db/engine/case_fold.h"
#include "db/engine/database_file.h"
#include "db/engine/declared_type.h"
#include "db/engine/engine_error.h"
#include "db/engine/msys_catalog.h"
#include "db/engine/schema.h"
#include "db/engine/structure_change.h"
#include "db/engine/table_schema.h"

#include <algorithm>

namespace engine {
namespace {

[[noreturn]] void notFound(const std::string& item)
{
    throw EngineError("Item '" + item + "' not found in this collection.");
}

DatabaseFile& openFile(const std::shared_ptr<DatabaseFile>& file)
{
    if (!file) throw EngineError("The database is closed.");
    return *file;
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

}  // namespace engine
