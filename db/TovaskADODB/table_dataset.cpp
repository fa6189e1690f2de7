#include <set>

#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/messages.h"
#include "db/TovaskADODB/same_text.h"
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

}  // namespace TovaskADODB
