#pragma once
// The row face: a connection on one catalogue file.

#include <memory>
#include <string>
#include <vector>

#include "db/engine/file_rewrite.h"

namespace engine {

class DatabaseFile;  // the one shared SQLite connection of a file in this process

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Refused (EngineError) while the connection is open.
    void setConnectionString(std::string value);
    const std::string& connectionString() const { return connectionString_; }

    // Opens the file named by Data Source read/write; never creates a file.
    void open();
    // Rolls back a transaction this connection began and left open.
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // User tables and views, sorted by name with letter case ignored.
    std::vector<std::string> tableNames() const;
    // Runs a command text and discards any result.
    void execute(const std::string& commandText);
    // Deletes every row of a user table (name compared with letter case
    // ignored); clones still reading them keep them (DatabaseFile::emptyTable).
    void emptyTable(const std::string& tableName);

    void beginTransaction();
    // One whose commit writes the file anew (DatabaseFile::beginTransaction).
    void beginTransaction(NewFilePlaceMaker newFile);
    void commitTransaction();
    void rollbackTransaction();
    bool inTransaction() const;
    // In a transaction whose commit writes the file anew.
    bool writesAnew() const;

    // The shared file behind an open connection (null when closed).
    const std::shared_ptr<DatabaseFile>& file() const { return file_; }

private:
    std::string connectionString_;
    std::shared_ptr<DatabaseFile> file_;
    bool beganTransaction_ = false;  // closing rolls back what this connection left open
};

}  // namespace engine
