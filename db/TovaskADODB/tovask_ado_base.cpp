#include "db/TovaskADODB/tovask_ado_base.h"

#include <algorithm>

#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/messages.h"
#include "db/TovaskADODB/tovask_ado_table.h"
#include "db/engine/engine_error.h"

namespace TovaskADODB {

namespace {
constexpr const char* InitialWorkspaceName = "DaoWorkspace";
constexpr const char* DefaultUser = "Admin";

bool Lists(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}
}  // namespace

TTovaskADOBase::TTovaskADOBase(std::string name, const engine::EngineCatalog& catalog)
    : name_(std::move(name)), catalog_(catalog)
{
    DetectEngines();
    if (daoVersions_.empty()) DatabaseError(Messages::NoDaoFound);
    version_ = daoVersions_.front() == "3.5" ? "3.5" : "3.6";
    CreateEngine(version_);
    if (!engine_) DatabaseError(Messages::NoDaoVersion);
    engine_->setDefaultUser(DefaultUser);
    engine_->setDefaultPassword({});
    defaultType_ = 2;
    engine_->setDefaultType(defaultType_);
    workspaceName_ = InitialWorkspaceName;
    version_ = engine_->version();
    // Deliberately not appended to the engine's workspaces.
    workspace_ = engine_->createWorkspace(workspaceName_, DefaultUser, {}, defaultType_);
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
    engine_->setDefaultUser(DefaultUser);
    engine_->setDefaultPassword({});
    workspace_ = engine_->createWorkspace(workspaceName_, DefaultUser, {}, defaultType_);
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

}  // namespace TovaskADODB
