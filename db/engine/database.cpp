#include "db/engine/database_file.h"
#include "db/engine/engine_error.h"
#include "db/engine/schema.h"
#include "db/engine/table_schema.h"

namespace engine {
namespace {

DatabaseFile& openFile(const std::shared_ptr<DatabaseFile>& file)
{
    if (!file) throw EngineError("The database is closed.");
    return *file;
}

}  // namespace

Database::Database(std::shared_ptr<DatabaseFile> file) : file_(std::move(file))
{
    if (!file_) throw EngineError("No database file.");
    path_ = file_->path();
}

Database::~Database() = default;

void Database::close()
{
    file_.reset();
}

const std::string& Database::path() const
{
    return path_;
}

void Database::refreshTableDefs()
{
    // Table definitions are read from the file on every call; nothing is cached.
    openFile(file_);
}

void Database::restoreViewsAndTriggers()
{
    openFile(file_).restoreViewsAndTriggers();
}

TableDef Database::tableDef(const std::string& name) const
{
    auto& file = openFile(file_);
    return TableDef(file_, detail::requireUserTable(file.statements(), name));
}

std::vector<std::string> Database::tableNames() const
{
    return detail::userTableNames(openFile(file_).statements());
}

Workspace::Workspace(std::string name) : name_(std::move(name)) {}

std::unique_ptr<Database> Workspace::openDatabase(const std::string& path, bool exclusive, bool readOnly,
                                                  const std::string& connect)
{
    (void)connect;  // user and password: files carry no accounts
    if (!open_) throw EngineError("The workspace is closed.");
    if (exclusive || readOnly) throw EngineError("Only shared read/write access is supported.");
    return std::make_unique<Database>(DatabaseFile::open(path));
}

void Workspace::close()
{
    open_ = false;
}

bool isFileOpenInProcess(const std::string& path)
{
    return DatabaseFile::isOpen(path);
}

}  // namespace engine
