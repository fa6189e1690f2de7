#pragma once
// TTovaskADOBase: the database component. A row-side connection on one catalogue
// file plus the schema side (engine, workspace, database) on the same file, which
// the table component uses for structure changes and which compaction needs.

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/field_arrays.h"
#include "db/engine/connection.h"
#include "db/engine/schema.h"

namespace TovaskADODB {

class TTovaskADOTable;

class TTovaskADOBase {
public:
    // Fails with "Nie odnaleziono DAO w tym systemie!" when the catalog lists no usable engine.
    explicit TTovaskADOBase(std::string name, const engine::EngineCatalog& catalog = engine::EngineCatalog::system());
    ~TTovaskADOBase();
    TTovaskADOBase(const TTovaskADOBase&) = delete;
    TTovaskADOBase& operator=(const TTovaskADOBase&) = delete;

    const std::string& Name() const { return name_; }

    // Setting refreshes DataBase from the "Data Source=" value, quoted or not; the
    // connection refuses a change while it is open.
    std::string ConnectionString() const;
    void SetConnectionString(const std::string& value);
    const std::string& DataBase() const { return dataBase_; }

    // "3.5" or "3.6"; setting it re-creates engine and workspace ("Baza jest otwarta." while connected).
    const std::string& Version() const { return version_; }
    void SetVersion(const std::string& value);
    int DefaultType() const { return defaultType_; }
    const std::string& WorkspaceName() const { return workspaceName_; }
    const std::vector<std::string>& DaoVersions() const { return daoVersions_; }
    const std::vector<std::string>& IsamFormats() const { return isamFormats_; }

    // Schema side first, then the connection.
    void OpenBase();
    // Schema side, then the connection (also when the first fails; that failure is passed on after).
    void CloseBase();
    // The connection only; closing it closes the tables bound to this component.
    bool Connected() const { return connection_.isOpen(); }
    void SetConnected(bool value);

    // User tables and views of the open connection.
    void GetTableNames(std::vector<std::string>& list) const;

    // The file's one transaction. Its commit writes the file anew, compacted,
    // in a private folder beside it (CompactionFolder) and renames it over the
    // file; the file itself is not written before. A Compact right after finds
    // nothing left to do.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const;

    // Rewrites the file compacted; the original is replaced atomically, only once the
    // compacted copy is complete, and stays untouched on any failure. Other programs
    // may read the file meanwhile but not write it; one that keeps it for writing
    // past the busy timeout makes the compaction fail. EFolderNotSynced when the
    // file was replaced but its folder could not be synced. Others who may write
    // to the file's folder cannot redirect the copy (CompactionFolder).
    void Compact(const std::string& fileName, const std::string& password);

    // A failure to sync the folder after a commit's rename, told by the Compact after it.
    struct PendingFailure {
        std::exception_ptr failure;
    };

    static bool HasPrimaryKey(engine::TableDef& tableDef);
    static void DropPrimaryKey(engine::TableDef& tableDef);

    // Appends the columns (and their primary key or own indexes) to the stored table.
    bool AddFields(const std::string& tableName, const TFieldArrays& columns, bool unique);

    // The schema side, for the table component. Null until set.
    engine::DbEngine* Engine() const { return engine_.get(); }
    engine::Workspace* Workspace() const { return workspace_.get(); }
    engine::Database* DaoDatabase() const { return daoDatabase_.get(); }
    // The schema database, failing with "Baza nie jest otwarta." when there is none.
    engine::Database& RequireDaoDatabase() const;
    // Puts a freshly opened database in place of the current one without closing that.
    void ReplaceDaoDatabase(std::unique_ptr<engine::Database> database);
    engine::Connection& AdoConnection() { return connection_; }
    const engine::Connection& AdoConnection() const { return connection_; }

    // Opens the schema database on DataBase from the workspace, as OpenBase does.
    std::unique_ptr<engine::Database> OpenDaoDatabase() const;

private:
    friend class TTovaskADOTable;
    void RegisterDataSet(TTovaskADOTable* table);
    void UnregisterDataSet(TTovaskADOTable* table);
    void CloseDataSets();

    void DetectEngines();
    void CreateEngine(const std::string& version);
    void RecreateWorkspace();
    void ReadIsamFormats();

    std::string name_;
    engine::EngineCatalog catalog_;
    engine::Connection connection_;
    std::string dataBase_;
    std::string version_;
    int defaultType_ = 2;
    std::string workspaceName_;
    std::vector<std::string> daoVersions_;
    std::vector<std::string> isamFormats_;
    std::unique_ptr<engine::DbEngine> engine_;
    std::shared_ptr<engine::Workspace> workspace_;
    std::unique_ptr<engine::Database> daoDatabase_;
    std::vector<TTovaskADOTable*> dataSets_;
    // What the last commit wrote anew, so that Compact can tell it is still as written.
    struct WrittenAnew;
    std::shared_ptr<WrittenAnew> writtenAnew_;
    std::shared_ptr<PendingFailure> notSynced_;  // of the open transaction
};

}  // namespace TovaskADODB
