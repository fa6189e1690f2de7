#pragma once
// TTovaskADOTable: the table component. A static dataset over one table of its
// database component, which can also change the stored table's structure and indexes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "db/TovaskADODB/data_source.h"
#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/field_arrays.h"
#include "db/TovaskADODB/field_defs.h"
#include "db/TovaskADODB/index_defs.h"
#include "db/engine/recordset.h"
#include "db/engine/schema.h"
#include "db/engine/variant.h"

namespace TovaskADODB {

class TTovaskADOBase;

class TTovaskADOTable {
public:
    explicit TTovaskADOTable(std::string name);
    ~TTovaskADOTable();
    TTovaskADOTable(const TTovaskADOTable&) = delete;
    TTovaskADOTable& operator=(const TTovaskADOTable&) = delete;

    const std::string& Name() const { return name_; }

    // Properties. Connection is the database component the table is bound to.
    TTovaskADOBase* Connection() const { return connection_; }
    void SetConnection(TTovaskADOBase* value);
    const std::string& TableName() const { return tableName_; }
    void SetTableName(const std::string& value);  // refused while open
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    bool TableDirect() const { return tableDirect_; }
    void SetTableDirect(bool value) { tableDirect_ = value; }
    const std::string& ADOCommandText() const { return adoCommandText_; }
    void SetADOCommandText(const std::string& value);
    TDataSource* MasterSource() const { return masterSource_; }
    void SetMasterSource(TDataSource* value);  // "Wywołanie cykliczne!" when it leads back here
    const TFieldDefs& FieldDefs() const { return fieldDefs_; }
    TIndexDefs& IndexDefs() { return indexDefs_; }
    const TIndexDefs& IndexDefs() const { return indexDefs_; }

    // The dataset. Opening counts the rows; they are read from the file as the dataset moves.
    void Open();
    void Close();
    bool Active() const;
    void SetActive(bool value);
    // Makes this dataset a second cursor over the rows of an open one (closing this first).
    void Clone(const TTovaskADOTable& source);

    int RecordCount() const;  // fails on a closed dataset
    bool IsEmpty() const;     // a closed dataset holds no rows
    void First();
    void Next();
    bool Eof() const;  // true when closed

    int FieldCount() const;
    const engine::Variant& FieldValue(int position) const;
    // Yes/No gives -1 or 0, null gives 0.
    std::int32_t FieldAsInteger(int position) const;
    // The field of the open dataset of that name, letter case ignored.
    std::optional<TFieldDef> FindField(const std::string& fieldName) const;

    // Appends and posts one row, one value per field in position order.
    void AppendRecord(const std::vector<engine::Variant>& values);

    // Structure of the stored table. False, and nothing raised, when the engine refuses.
    bool AddField(const std::string& fieldName, engine::FieldKind kind, std::int32_t size, bool required,
                  bool allowZeroLength, bool primaryKey);
    bool AddFields(TTovaskADOBase& base, const std::string& tableName, const TFieldArrays& columns, bool unique);
    bool DeleteField(const std::string& fieldName);
    // Deletes every row of the stored table and leaves this dataset open.
    void EmptyTable();

    // Indexes of the stored table.
    void DropFieldIndexes(const std::string& fieldName) noexcept;
    void DeleteIndex(const std::string& indexName);
    void CreateIndexes();

private:
    friend class TTovaskADOBase;
    void CheckActive() const;
    bool IsLinkedTo(const TDataSource* dataSource) const;
    void RefreshFieldDefs();
    TTovaskADOBase& RequireConnection() const;
    engine::TableDef StoredTableDef() const;

    std::string name_;
    TTovaskADOBase* connection_ = nullptr;
    std::string tableName_;
    bool readOnly_ = false;
    bool tableDirect_ = false;
    std::string adoCommandText_;
    TDataSource* masterSource_ = nullptr;
    TFieldDefs fieldDefs_;
    TIndexDefs indexDefs_;
    engine::StaticRecordset recordset_;
};

}  // namespace TovaskADODB
