#pragma once
// The schema face: engine, workspace, database, table definitions, fields and
// indexes, after the object model that structure changes and compaction use.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "db/engine/engine_error.h"
#include "db/engine/field_kind.h"

namespace engine {

class DatabaseFile;

// Which engine versions and installable data formats exist; tests may set them.
struct EngineCatalog {
    std::vector<std::string> installedVersions{"3.6"};
    std::vector<std::string> installableFormats;
    static const EngineCatalog& system();
};

// A field definition; attached to a stored table once appended or looked up,
// and then its property setters write through at once.
class Field {
public:
    Field(std::string name, FieldKind kind, std::int32_t size);
    const std::string& name() const { return name_; }
    FieldKind kind() const { return kind_; }
    std::int32_t size() const { return size_; }
    bool required() const { return required_; }
    bool allowZeroLength() const { return allowZeroLength_; }
    void setRequired(bool value);
    void setAllowZeroLength(bool value);

private:
    friend class TableDef;
    std::string name_;
    FieldKind kind_;
    std::int32_t size_;
    bool required_ = false;
    bool allowZeroLength_ = true;
    std::shared_ptr<DatabaseFile> file_;  // set when attached
    std::string table_;
};

class Index {
public:
    explicit Index(std::string name);
    const std::string& name() const { return name_; }
    bool primary() const { return primary_; }
    bool unique() const { return unique_; }
    void setPrimary(bool value) { primary_ = value; }
    void setUnique(bool value) { unique_ = value; }
    const std::vector<std::string>& fields() const { return fields_; }
    void appendField(const std::string& fieldName) { fields_.push_back(fieldName); }

private:
    std::string name_;
    bool primary_ = false;
    bool unique_ = false;
    std::vector<std::string> fields_;
};

// A handle on one stored table. Every change is stored at once.
class TableDef {
public:
    TableDef(std::shared_ptr<DatabaseFile> file, std::string name);
    const std::string& name() const { return name_; }

    Field createField(const std::string& name, FieldKind kind, std::int32_t size) const;
    void appendField(const Field& field);        // to the end; fails if the name exists
    void deleteField(const std::string& name);   // fails if missing or in an index
    Field field(const std::string& name) const;  // letter case ignored; fails if missing
    std::vector<Field> fields() const;           // in position order
    int fieldCount() const;
    // True when some row holds a value (not Null) in the field.
    bool fieldHoldsValue(const std::string& name) const;

    Index createIndex(const std::string& name) const;
    void appendIndex(const Index& index);  // fails if the name exists
    void deleteIndex(const std::string& name);
    int indexCount() const;
    Index index(int position) const;
    std::vector<Index> indexes() const;

private:
    std::shared_ptr<DatabaseFile> file_;
    std::string name_;
};

// A table as a change leaves it: its fields' names in order.
struct TableShape {
    std::string table;
    std::vector<std::string> fields;
};

class Database {
public:
    explicit Database(std::shared_ptr<DatabaseFile> file);
    ~Database();
    void close();  // releases the hold on the file
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const;

    void refreshTableDefs();
    // Makes the views and triggers set aside by this transaction's structure
    // changes again and checks them; EngineError when one that worked no
    // longer does. The commit does it at the latest; a rebuild asks once its
    // rows are back, so that no user trigger fires while they are moved.
    void restoreViewsAndTriggers();
    TableDef tableDef(const std::string& name) const;  // letter case ignored; fails if missing
    std::vector<std::string> tableNames() const;
    // Would the file's views and triggers that work now still work once its
    // tables took these shapes, one change after the other? Changes nothing:
    // tried on a copy of the structure in memory. The first that would stop
    // working, with the position of the change that stops it; nullopt also
    // when the structure cannot be copied (the change itself then tells).
    std::optional<std::pair<std::size_t, ViewOrTriggerBroken>> forecastViewsAndTriggers(
        const std::vector<TableShape>& shapes) const;

private:
    std::shared_ptr<DatabaseFile> file_;
    std::string path_;
};

class Workspace {
public:
    explicit Workspace(std::string name);
    const std::string& name() const { return name_; }
    // Opens an existing catalogue file; shares the file's connection with every
    // other open object of this process.
    std::unique_ptr<Database> openDatabase(const std::string& path, bool exclusive, bool readOnly,
                                           const std::string& connect);
    void close();

private:
    std::string name_;
    bool open_ = true;
};

class DbEngine {
public:
    // Fails (EngineError) when the version is not in the catalog.
    explicit DbEngine(const std::string& version, const EngineCatalog& catalog = EngineCatalog::system());
    std::string version() const { return version_; }

    // A catalogue file knows no users, passwords or workspace types: the
    // default user, password and type, and those given to createWorkspace,
    // are taken as the design passes them and have no effect.
    void setDefaultUser(const std::string& /*user*/) {}
    void setDefaultPassword(const std::string& /*password*/) {}
    void setDefaultType(int /*type*/) {}

    std::shared_ptr<Workspace> createWorkspace(const std::string& name, const std::string& user,
                                               const std::string& password, int type);
    void appendWorkspace(std::shared_ptr<Workspace> workspace);
    const std::vector<std::shared_ptr<Workspace>>& workspaces() const { return workspaces_; }

    // Writes a compacted, synced copy of source to target (which must not exist, or be empty).
    void compactDatabase(const std::string& source, const std::string& target, const std::string& password = {});

private:
    std::string version_;
    std::vector<std::shared_ptr<Workspace>> workspaces_;
};

// True when an object of this process holds the file open.
bool isFileOpenInProcess(const std::string& path);

}  // namespace engine
