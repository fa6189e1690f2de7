#include <algorithm>

#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/messages.h"
#include "db/TovaskADODB/tovask_ado_base.h"
#include "db/TovaskADODB/tovask_ado_table.h"
#include "db/engine/connection_string.h"

namespace TovaskADODB {

namespace {
// ";UID=Admin;PWD=%s;%s" with an empty password and no extra options.
constexpr const char* SchemaConnect = ";UID=Admin;PWD=;";
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
    return workspace_->openDatabase(dataBase_, false, false, SchemaConnect);
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
    connection_.beginTransaction();
}

void TTovaskADOBase::CommitTrans()
{
    if (!Connected()) DatabaseError(Messages::BaseNotOpen);
    connection_.commitTransaction();
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

}  // namespace TovaskADODB
