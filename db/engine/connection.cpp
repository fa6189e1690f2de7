#include "db/engine/connection.h"

#include "db/engine/connection_string.h"
#include "db/engine/database_file.h"
#include "db/engine/engine_error.h"
#include "db/engine/table_schema.h"

namespace engine {
namespace {

DatabaseFile& openFile(const std::shared_ptr<DatabaseFile>& file)
{
    if (!file) throw EngineError("Operation is not allowed when the object is closed.");
    return *file;
}

}  // namespace

Connection::~Connection()
{
    close();
}

void Connection::setConnectionString(std::string value)
{
    if (isOpen()) throw EngineError("Operation is not allowed when the object is open.");
    connectionString_ = std::move(value);
}

void Connection::open()
{
    if (isOpen()) throw EngineError("Operation is not allowed when the object is open.");
    const auto path = dataSourceOf(connectionString_);
    if (!path) throw EngineError("The connection string names no Data Source.");
    file_ = DatabaseFile::open(*path);
}

void Connection::close()
{
    if (file_ && beganTransaction_ && file_->inTransaction()) file_->abandonTransaction();
    beganTransaction_ = false;
    file_.reset();
}

std::vector<std::string> Connection::tableNames() const
{
    return detail::userTableNames(openFile(file_).statements());
}

void Connection::execute(const std::string& commandText)
{
    openFile(file_).execute(commandText);
}

void Connection::emptyTable(const std::string& tableName)
{
    openFile(file_).emptyTable(tableName);
}

void Connection::beginTransaction()
{
    openFile(file_).beginTransaction();
    beganTransaction_ = true;
}

void Connection::beginTransaction(NewFilePlaceMaker newFile)
{
    openFile(file_).beginTransaction(std::move(newFile));
    beganTransaction_ = true;
}

void Connection::commitTransaction()
{
    openFile(file_).commitTransaction();
    beganTransaction_ = false;
}

void Connection::rollbackTransaction()
{
    openFile(file_).rollbackTransaction();
    beganTransaction_ = false;
}

bool Connection::writesAnew() const
{
    return file_ && file_->writesAnew();
}

bool Connection::inTransaction() const
{
    return file_ && file_->inTransaction();
}

}  // namespace engine
