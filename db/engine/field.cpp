#include "db/engine/database_file.h"
#include "db/engine/engine_error.h"
#include "db/engine/msys_catalog.h"
#include "db/engine/schema.h"
#include "db/engine/table_schema.h"

#include <algorithm>

namespace engine {
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

}  // namespace engine
