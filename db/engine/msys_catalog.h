#pragma once
// The engine's own tables: MSysFields(TableName, FieldName, Required,
// AllowZeroLength) and MSysIndexes(TableName, IndexName), created when first
// needed so that a plain SQLite file opens as it is.

#include <string>
#include <vector>

#include "db/engine/sqlite_handle.h"

namespace engine::detail {

struct FieldProperties {
    bool required = false;
    bool allowZeroLength = true;
};

FieldProperties fieldProperties(StatementCache& cache, const std::string& table, const std::string& field);
void writeFieldProperties(StatementCache& cache, const std::string& table, const std::string& field,
                          const FieldProperties& properties);
void forgetField(StatementCache& cache, const std::string& table, const std::string& field);

bool isPrimaryIndex(StatementCache& cache, const std::string& table, const std::string& index);
void markPrimaryIndex(StatementCache& cache, const std::string& table, const std::string& index);
void forgetIndex(StatementCache& cache, const std::string& table, const std::string& index);

}  // namespace engine::detail
