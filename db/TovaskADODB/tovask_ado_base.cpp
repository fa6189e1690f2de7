#include "db/TovaskADODB/tovask_ado_base.h"

#include <sys/stat.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>

#include "db/TovaskADODB/compaction_folder.h"
#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/folder_entries.h"
#include "db/TovaskADODB/messages.h"
#include "db/TovaskADODB/tovask_ado_base.h"
#include "db/TovaskADODB/tovask_ado_table.h"
#include "db/engine/connection_string.h"
#include "db/engine/engine_error.h"
#include "db/engine/writer_hold.h"

namespace TovaskADODB {

namespace {
constexpr const char* kInitialWorkspaceName = "DaoWorkspace";
constexpr const char* kDefaultUser = "Admin";

bool Lists(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}
}  // namespace

struct TTovaskADOBase::WrittenAnew {
    std::string path;
    struct stat identity {};
    // The folder's sync failed after the rename; Compact reports it.
    std::exception_ptr notSynced;
};

namespace {

// A link named like the catalogue must stay a link: the copy replaces the file it
// points to, beside that file. A name that does not resolve is used as given.
std::string FileBehindLinks(const std::string& fileName)
{
    std::error_code error;
    const auto resolved = std::filesystem::canonical(fileName, error);
    return error ? fileName : resolved.string();
}

// The new file of a transaction: written in a private folder beside the file,
// on the file's own file system, so that the rename replaces it atomically.
class FolderPlace : public engine::NewFilePlace {
public:
    FolderPlace(const std::filesystem::path& fileName, std::shared_ptr<TTovaskADOBase::PendingFailure> notSynced)
        : folder_(fileName.parent_path(), fileName.filename().string()), notSynced_(std::move(notSynced))
    {
    }
    const std::string& path() const override { return folder_.CopyPath(); }
    void replaceOriginal() override
    {
        try {
            folder_.ReplaceWithCopy();
        } catch (const EFolderNotSynced&) {
            // The file is replaced; only making that durable failed. Told by Compact.
            notSynced_->failure = std::current_exception();
        }
    }

private:
    CompactionFolder folder_;
    std::shared_ptr<TTovaskADOBase::PendingFailure> notSynced_;
};

}  // namespace

TTovaskADOBase::TTovaskADOBase(std::string name, const engine::EngineCatalog& catalog)
    : name_(std::move(name)), catalog_(catalog)
{
    DetectEngines();
    if (daoVersions_.empty()) DatabaseError(Messages::NoDaoFound);
    version_ = daoVersions_.front() == "3.5" ? "3.5" : "3.6";
    CreateEngine(version_);
    if (!engine_) DatabaseError(Messages::NoDaoVersion);
    engine_->setDefaultUser(kDefaultUser);
    engine_->setDefaultPassword({});
    defaultType_ = 2;
    engine_->setDefaultType(defaultType_);
    workspaceName_ = kInitialWorkspaceName;
    version_ = engine_->version();
    // Deliberately not appended to the engine's workspaces.
    workspace_ = engine_->createWorkspace(workspaceName_, kDefaultUser, {}, defaultType_);
    ReadIsamFormats();
}

TTovaskADOBase::~TTovaskADOBase()
{
    CloseDataSets();
    for (TTovaskADOTable* table : dataSets_) table->connection_ = nullptr;
    dataSets_.clear();
    if (workspace_) {
        try {
            workspace_->close();
        } catch (const std::exception&) {
            // nothing to be done about it while being destroyed
        }
    }
    daoDatabase_.reset();
    workspace_.reset();
    engine_.reset();
}

void TTovaskADOBase::DetectEngines()
{
    // The catalog stands in for the registry, and an engine of any version it lists
    // can be created: the newest listed version is the one usable, and 3.5 is not
    // looked for when 3.6 is there.
    for (const char* version : {"3.6", "3.5"}) {
        if (Lists(catalog_.installedVersions, version)) {
            daoVersions_.push_back(version);
            return;
        }
    }
}

void TTovaskADOBase::CreateEngine(const std::string& version)
{
    auto create = [this](const char* wanted) {
        engine_ = std::make_unique<engine::DbEngine>(wanted, catalog_);
        version_ = wanted;
    };
    if (version == "3.5") {
        try {
            create("3.5");
        } catch (const engine::EngineError&) {
            try {
                create("3.6");
            } catch (const engine::EngineError&) {
                DatabaseError(Messages::NoDaoVersion);
            }
        }
    } else if (version == "3.6") {
        try {
            create("3.6");
        } catch (const engine::EngineError&) {
            DatabaseError(Messages::NoDaoVersion);
        }
    }
}

void TTovaskADOBase::RecreateWorkspace()
{
    if (workspace_) {
        try {
            workspace_->close();
        } catch (const std::exception&) {
            // a workspace that will not close is dropped all the same
        }
    }
    workspace_.reset();
    engine_.reset();
    CreateEngine(version_);
    // Any version other than 3.5 or 3.6 leaves no engine to work with.
    if (!engine_) DatabaseError(Messages::NoDaoVersion);
    engine_->setDefaultUser(kDefaultUser);
    engine_->setDefaultPassword({});
    workspace_ = engine_->createWorkspace(workspaceName_, kDefaultUser, {}, defaultType_);
    engine_->appendWorkspace(workspace_);
    workspaceName_ = workspace_->name();
}

void TTovaskADOBase::SetVersion(const std::string& value)
{
    if (Connected()) DatabaseError(Messages::BaseOpen);
    const std::string previous = version_;
    version_ = value.substr(0, 3);
    ReadIsamFormats();
    try {
        RecreateWorkspace();
    } catch (const std::exception&) {
        // Never leave the component without an engine: go back to the version that worked.
        version_ = previous;
        ReadIsamFormats();
        RecreateWorkspace();
        throw;
    }
}

void TTovaskADOBase::ReadIsamFormats()
{
    // The engine's catalog stands in for the installed-format registry key of the version.
    const bool keyOpens = (version_ == "3.5" || version_ == "3.6") && Lists(catalog_.installedVersions, version_);
    if (keyOpens) isamFormats_ = catalog_.installableFormats;
    isamFormats_.insert(isamFormats_.begin(), "ODBC");
    isamFormats_.insert(isamFormats_.begin(), "Access");
}

namespace {
// ";UID=Admin;PWD=%s;%s" with an empty password and no extra options.
constexpr const char* kSchemaConnect = ";UID=Admin;PWD=;";
}  // namespace

std::string TTovaskADOBase::ConnectionString() const
{
    return connection_.connectionString();
}

void TTovaskADOBase::SetConnectionString(const std::string& value)
{
    if (value != connection_.connectionString()) connection_.setConnectionString(value);
    if (auto path = engine::dataSourceOf(connection_.connectionString())) dataBase_ = std::move(*path);
}

std::unique_ptr<engine::Database> TTovaskADOBase::OpenDaoDatabase() const
{
    if (!workspace_) DatabaseError(Messages::NoDaoVersion);
    return workspace_->openDatabase(dataBase_, false, false, kSchemaConnect);
}

void TTovaskADOBase::OpenBase()
{
    daoDatabase_ = OpenDaoDatabase();
    SetConnected(true);
}

void TTovaskADOBase::CloseBase()
{
    std::exception_ptr schemaFailure;
    if (daoDatabase_) {
        try {
            daoDatabase_->close();
        } catch (...) {
            schemaFailure = std::current_exception();
        }
    }
    SetConnected(false);
    if (schemaFailure) std::rethrow_exception(schemaFailure);
}

void TTovaskADOBase::SetConnected(bool value)
{
    if (value == Connected()) return;
    if (value) {
        connection_.open();
        return;
    }
    // The tables bound to this connection close with it, releasing their hold on the file.
    CloseDataSets();
    connection_.close();
}

engine::Database& TTovaskADOBase::RequireDaoDatabase() const
{
    if (!daoDatabase_ || !daoDatabase_->isOpen()) DatabaseError(Messages::BaseNotOpen);
    return *daoDatabase_;
}

void TTovaskADOBase::ReplaceDaoDatabase(std::unique_ptr<engine::Database> database)
{
    daoDatabase_ = std::move(database);
}

void TTovaskADOBase::GetTableNames(std::vector<std::string>& list) const
{
    if (!Connected()) DatabaseError(Messages::BaseNotOpen);
    list = connection_.tableNames();
}

void TTovaskADOBase::BeginTrans()
{
    if (!Connected()) DatabaseError(Messages::BaseNotOpen);
    writtenAnew_.reset();
    const std::filesystem::path fileName = FileBehindLinks(dataBase_);
    auto notSynced = std::make_shared<PendingFailure>();
    notSynced_ = notSynced;
    connection_.beginTransaction([fileName, notSynced] { return std::make_unique<FolderPlace>(fileName, notSynced); });
}

void TTovaskADOBase::CommitTrans()
{
    if (!Connected()) DatabaseError(Messages::BaseNotOpen);
    const bool anew = connection_.writesAnew();
    connection_.commitTransaction();
    if (!anew) return;
    auto written = std::make_shared<WrittenAnew>();
    written->path = FileBehindLinks(dataBase_);
    if (notSynced_) written->notSynced = notSynced_->failure;
    if (::stat(written->path.c_str(), &written->identity) == 0) writtenAnew_ = std::move(written);
}

void TTovaskADOBase::RollbackTrans()
{
    if (!Connected()) DatabaseError(Messages::BaseNotOpen);
    connection_.rollbackTransaction();
}

bool TTovaskADOBase::InTransaction() const
{
    return Connected() && connection_.inTransaction();
}

void TTovaskADOBase::RegisterDataSet(TTovaskADOTable* table)
{
    if (std::find(dataSets_.begin(), dataSets_.end(), table) == dataSets_.end()) dataSets_.push_back(table);
}

void TTovaskADOBase::UnregisterDataSet(TTovaskADOTable* table)
{
    dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), table), dataSets_.end());
}

void TTovaskADOBase::CloseDataSets()
{
    for (TTovaskADOTable* table : dataSets_) table->Close();
}

namespace {
constexpr const char* kPrimaryKeyIndexName = "PrimaryKey";
}  // namespace

bool TTovaskADOBase::HasPrimaryKey(engine::TableDef& tableDef)
{
    for (int i = 0; i < tableDef.indexCount(); ++i)
        if (tableDef.index(i).primary()) return true;
    return false;
}

void TTovaskADOBase::DropPrimaryKey(engine::TableDef& tableDef)
{
    for (int i = 0; i < tableDef.indexCount(); ++i) {
        const engine::Index index = tableDef.index(i);
        if (index.primary()) {
            tableDef.deleteIndex(index.name());
            return;
        }
    }
}

bool TTovaskADOBase::AddFields(const std::string& tableName, const TFieldArrays& columns, bool unique)
{
    if (!Connected()) DatabaseError(Messages::BaseNotOpen);
    if (tableName.empty()) DatabaseError(Messages::BaseNotDefined);
    const std::size_t count = columns.Kinds.size();
    if (columns.Names.size() < count || columns.Sizes.size() < count || columns.Required.size() < count ||
        columns.AllowZeroLength.size() < count || columns.Attributes.size() < count)
        DatabaseError(Messages::ColumnArraysMismatch);

    engine::TableDef tableDef = RequireDaoDatabase().tableDef(tableName);
    auto joinsPrimaryKey = [&](std::size_t i) {
        return (columns.Attributes[i] & ColumnJoinsPrimaryKey) == ColumnJoinsPrimaryKey;
    };
    auto createField = [&](std::size_t i) {
        return tableDef.createField(columns.Names[i], columns.Kinds[i], columns.Sizes[i]);
    };

    for (std::size_t i = 0; i < count; ++i) {
        if (joinsPrimaryKey(i)) {
            DropPrimaryKey(tableDef);
            break;
        }
    }

    std::optional<engine::Index> primaryKey;
    for (std::size_t i = 0; i < count; ++i) {
        tableDef.appendField(createField(i));
        if (columns.Attributes[i] > 0 && joinsPrimaryKey(i)) {
            if (!primaryKey) {
                primaryKey = tableDef.createIndex(kPrimaryKeyIndexName);
                primaryKey->setPrimary(true);
                primaryKey->setUnique(true);
            }
            primaryKey->appendField(createField(i).name());
        }
    }
    if (primaryKey) tableDef.appendIndex(*primaryKey);

    for (std::size_t i = 0; i < count; ++i) {
        if ((columns.Attributes[i] & ColumnOwnIndexA) > 0 || (columns.Attributes[i] & ColumnOwnIndexB) > 0) {
            engine::Index own = tableDef.createIndex(columns.Names[i]);
            own.setUnique(unique);
            own.appendField(createField(i).name());
            tableDef.appendIndex(own);
        }
    }

    for (std::size_t i = 0; i < count; ++i) {
        RequireDaoDatabase().tableDef(tableName).field(columns.Names[i]).setRequired(columns.Required[i] != 0);
        tableDef.field(columns.Names[i]).setAllowZeroLength(columns.AllowZeroLength[i] != 0);
    }
    return true;
}

void TTovaskADOBase::Compact(const std::string& linkOrFileName, const std::string& password)
{
    if (!engine_) DatabaseError(Messages::NoDaoVersion);
    const std::filesystem::path fileName = FileBehindLinks(linkOrFileName);
    // SQLite forbids replacing a database file that is open in this process.
    if (engine::isFileOpenInProcess(fileName.string())) DatabaseError(Messages::BaseOpen);
    // The last commit wrote the file anew, compacted, and nothing changed it since.
    if (const auto written = std::exchange(writtenAnew_, nullptr)) {
        struct stat now {};
        if (written->path == fileName.string() && ::stat(written->path.c_str(), &now) == 0 &&
            SameFileState(now, written->identity)) {
            if (written->notSynced) std::rethrow_exception(written->notSynced);
            return;
        }
    }
    // The copy must sit on the file's own file system so that the rename replaces it atomically.
    CompactionFolder temporary(fileName.parent_path(), fileName.filename().string());
    // From the start of the copy to the rename other programs may read the file but
    // not write it: a write committed in between would go to the file the rename
    // throws away.
    const engine::WriterHold hold(fileName.string());
    const std::string connect = password.empty() ? std::string() : ";pwd=" + password;
    engine_->compactDatabase(fileName.string(), temporary.CopyPath(), connect);
    temporary.ReplaceWithCopy();
}

}  // namespace TovaskADODB
