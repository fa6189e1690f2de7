#include "db/TovaskADODB/tovask_ado_table.h"

#include <set>

#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/messages.h"
#include "db/TovaskADODB/same_text.h"
#include "db/TovaskADODB/split_field_list.h"
#include "db/TovaskADODB/tovask_ado_base.h"
#include "db/TovaskADODB/tovask_ado_table.h"

namespace TovaskADODB {

TTovaskADOTable::TTovaskADOTable(std::string name) : name_(std::move(name)) {}

TTovaskADOTable::~TTovaskADOTable()
{
    Close();
    if (connection_) connection_->UnregisterDataSet(this);
}

void TTovaskADOTable::SetConnection(TTovaskADOBase* value)
{
    if (value == connection_) return;
    // An open dataset's rows hold the file themselves, so it keeps them across the change.
    if (connection_) connection_->UnregisterDataSet(this);
    connection_ = value;
    if (connection_) connection_->RegisterDataSet(this);
}

void TTovaskADOTable::SetTableName(const std::string& value)
{
    if (value == tableName_) return;
    if (Active()) DatabaseError(Messages::DataSetOpen, name_);
    tableName_ = value;
}

void TTovaskADOTable::SetADOCommandText(const std::string& value)
{
    if (tableName_.empty()) DatabaseError(Messages::TableNotNamed);
    if (value.empty()) return;
    Close();
    adoCommandText_ = value;
}

bool TTovaskADOTable::IsLinkedTo(const TDataSource* dataSource) const
{
    std::set<const TTovaskADOTable*> visited;
    while (dataSource && dataSource->DataSet) {
        const TTovaskADOTable* dataSet = dataSource->DataSet;
        if (dataSet == this) return true;
        if (!visited.insert(dataSet).second) return false;  // a loop that does not pass through this component
        dataSource = dataSet->masterSource_;
    }
    return false;
}

void TTovaskADOTable::SetMasterSource(TDataSource* value)
{
    if (IsLinkedTo(value)) DatabaseError(Messages::CircularLink, name_);
    masterSource_ = value;
}

TTovaskADOBase& TTovaskADOTable::RequireConnection() const
{
    if (!connection_) DatabaseError(Messages::MissingConnection, name_);
    return *connection_;
}

void TTovaskADOTable::Open()
{
    if (Active()) return;
    TTovaskADOBase& base = RequireConnection();
    if (tableName_.empty()) DatabaseError(Messages::TableNotNamed);
    // As the toolkit's datasets do, opening a dataset opens its connection.
    base.SetConnected(true);
    recordset_.open(base.AdoConnection(), tableName_);
    RefreshFieldDefs();
}

void TTovaskADOTable::Close()
{
    recordset_.close();
}

bool TTovaskADOTable::Active() const
{
    return recordset_.isOpen();
}

void TTovaskADOTable::SetActive(bool value)
{
    if (value)
        Open();
    else
        Close();
}

void TTovaskADOTable::Clone(const TTovaskADOTable& source)
{
    if (&source == this) return;
    Close();
    source.CheckActive();
    recordset_.cloneFrom(source.recordset_);
    readOnly_ = source.readOnly_;
    RefreshFieldDefs();
}

void TTovaskADOTable::RefreshFieldDefs()
{
    std::vector<TFieldDef> defs;
    int position = 0;
    for (const engine::RecordsetField& field : recordset_.fields())
        defs.push_back(TFieldDef{field.name, field.kind, field.size, position++});
    fieldDefs_.Assign(std::move(defs));
}

void TTovaskADOTable::CheckActive() const
{
    if (!Active()) DatabaseError(Messages::DataSetClosed, name_);
}

int TTovaskADOTable::RecordCount() const
{
    CheckActive();
    return recordset_.recordCount();
}

bool TTovaskADOTable::IsEmpty() const
{
    return !Active() || recordset_.recordCount() == 0;
}

void TTovaskADOTable::First()
{
    CheckActive();
    recordset_.first();
}

void TTovaskADOTable::Next()
{
    CheckActive();
    recordset_.next();
}

bool TTovaskADOTable::Eof() const
{
    return !Active() || recordset_.eof();
}

int TTovaskADOTable::FieldCount() const
{
    return Active() ? static_cast<int>(recordset_.fields().size()) : 0;
}

const engine::Variant& TTovaskADOTable::FieldValue(int position) const
{
    CheckActive();
    return recordset_.value(position);
}

std::int32_t TTovaskADOTable::FieldAsInteger(int position) const
{
    CheckActive();
    return recordset_.valueAsInteger(position);
}

std::optional<TFieldDef> TTovaskADOTable::FindField(const std::string& fieldName) const
{
    if (!Active()) return std::nullopt;
    const auto& fields = recordset_.fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (SameText(fields[i].name, fieldName))
            return TFieldDef{fields[i].name, fields[i].kind, fields[i].size, static_cast<int>(i)};
    return std::nullopt;
}

void TTovaskADOTable::AppendRecord(const std::vector<engine::Variant>& values)
{
    CheckActive();
    if (readOnly_) DatabaseError(Messages::DataSetReadOnly, name_);
    recordset_.append(values);
}

engine::TableDef TTovaskADOTable::StoredTableDef() const
{
    if (!connection_) DatabaseError(Messages::BaseNotOpen);
    return connection_->RequireDaoDatabase().tableDef(tableName_);
}

bool TTovaskADOTable::AddField(const std::string& fieldName, engine::FieldKind kind, std::int32_t size, bool required,
                               bool allowZeroLength, bool primaryKey)
{
    if (tableName_.empty()) DatabaseError(Messages::TableNotNamed);
    if (!connection_ || !connection_->Connected()) DatabaseError(Messages::BaseNotOpen);
    if (Active()) DatabaseError(Messages::TableOpen);
    const TFieldArrays column{{fieldName},
                              {kind},
                              {FieldSizeFor(kind, size)},
                              {required ? 1 : 0},
                              {allowZeroLength ? 1 : 0},
                              {primaryKey ? ColumnJoinsPrimaryKey : 0}};
    try {
        return AddFields(*connection_, tableName_, column, false);
    } catch (const std::exception&) {
        // Reported as a false result only; whatever was stored before the failure stays.
        return false;
    }
}

bool TTovaskADOTable::AddFields(TTovaskADOBase& base, const std::string& tableName, const TFieldArrays& columns,
                                bool unique)
{
    return base.AddFields(tableName, columns, unique);
}

bool TTovaskADOTable::DeleteField(const std::string& fieldName)
{
    try {
        StoredTableDef().deleteField(fieldName);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TTovaskADOTable::EmptyTable()
{
    std::exception_ptr failure;
    try {
        if (!IsEmpty()) {
            if (!Active()) DatabaseError(Messages::TableNotOpen);
            Close();
            // A clone still reading the rows keeps them.
            RequireConnection().AdoConnection().emptyTable(tableName_);
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // The dataset is opened again whatever happened above; the first failure is the one reported.
    try {
        Open();
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    if (failure) std::rethrow_exception(failure);
}

namespace {

bool IsPlainOrUnique(const TIndexOptions& options)
{
    return options.Empty() || options == TIndexOptions{TIndexOption::Unique} ||
           options == TIndexOptions{TIndexOption::Primary, TIndexOption::Unique};
}

}  // namespace

void TTovaskADOTable::DeleteIndex(const std::string& indexName)
{
    StoredTableDef().deleteIndex(indexName);
}

void TTovaskADOTable::DropFieldIndexes(const std::string& fieldName) noexcept
{
    try {
        TTovaskADOBase& base = RequireConnection();
        // A fresh database object sees the indexes as stored now; the old one is dropped
        // without being closed, which releases its hold on the file.
        base.ReplaceDaoDatabase(base.OpenDaoDatabase());
        bool deleted = true;
        // Each pass deletes one index, so there can be no more passes than indexes.
        int passesLeft = StoredTableDef().indexCount() + 1;
        while (deleted && passesLeft-- > 0) {
            deleted = false;
            engine::Database& database = base.RequireDaoDatabase();
            database.refreshTableDefs();
            const engine::TableDef tableDef = database.tableDef(tableName_);
            for (const engine::Index& index : tableDef.indexes()) {
                if (!index.fields().empty() && index.fields().front() == fieldName) {
                    DeleteIndex(index.name());
                    deleted = true;
                    break;
                }
            }
        }
    } catch (const std::exception&) {
        // Nothing removed, or only some: the caller goes on either way.
    }
}

void TTovaskADOTable::CreateIndexes()
{
    if (indexDefs_.Empty()) return;
    std::vector<std::string> fieldNames;
    engine::TableDef tableDef = StoredTableDef();

    bool hasPrimaryKey = false;
    std::string primaryKeyName;
    for (const TIndexDef& def : indexDefs_) {
        if (def.Options.Contains(TIndexOption::Primary)) {
            hasPrimaryKey = true;
            primaryKeyName = def.Name;
        }
    }

    if (hasPrimaryKey) {
        if (TTovaskADOBase::HasPrimaryKey(tableDef)) TTovaskADOBase::DropPrimaryKey(tableDef);
        engine::Index primaryKey = tableDef.createIndex(primaryKeyName);
        primaryKey.setPrimary(true);
        for (const TIndexDef& def : indexDefs_) {
            if (!def.Options.Contains(TIndexOption::Primary)) continue;
            SplitFieldList(def.Fields, fieldNames);
            for (const std::string& name : fieldNames) primaryKey.appendField(name);
        }
        tableDef.appendIndex(primaryKey);
    }

    for (const TIndexDef& def : indexDefs_) {
        if (!IsPlainOrUnique(def.Options)) continue;
        SplitFieldList(def.Fields, fieldNames);
        std::string indexName = def.Name;
        if (indexName.empty() && !fieldNames.empty()) indexName = fieldNames.front();
        if (indexName.empty()) DatabaseError(Messages::IndexWithoutName, name_);
        if (hasPrimaryKey && SameText(indexName, primaryKeyName)) continue;
        engine::Index index = tableDef.createIndex(indexName);
        if (def.Options.Contains(TIndexOption::Unique)) index.setUnique(true);
        for (const std::string& name : fieldNames) index.appendField(name);
        tableDef.appendIndex(index);
    }
}

}  // namespace TovaskADODB
