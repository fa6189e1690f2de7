#include "db/engine/compaction.h"
#include "db/engine/engine_error.h"
#include "db/engine/schema.h"

#include <algorithm>

namespace engine {

const EngineCatalog& EngineCatalog::system()
{
    static const EngineCatalog catalog;
    return catalog;
}

DbEngine::DbEngine(const std::string& version, const EngineCatalog& catalog) : version_(version)
{
    const auto& versions = catalog.installedVersions;
    if (std::find(versions.begin(), versions.end(), version) == versions.end())
        throw EngineError("Database engine version " + version + " is not installed.");
}

std::shared_ptr<Workspace> DbEngine::createWorkspace(const std::string& name, const std::string& user,
                                                     const std::string& password, int type)
{
    (void)user;
    (void)password;
    (void)type;
    return std::make_shared<Workspace>(name);
}

void DbEngine::appendWorkspace(std::shared_ptr<Workspace> workspace)
{
    if (!workspace) throw EngineError("No workspace to append.");
    workspaces_.push_back(std::move(workspace));
}

void DbEngine::compactDatabase(const std::string& source, const std::string& target, const std::string& password)
{
    (void)password;  // files carry no password
    detail::compactFile(source, target);
}

}  // namespace engine
