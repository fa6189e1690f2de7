#include "patch/file_transaction.h"

#include <exception>

namespace patch {

FileTransaction::~FileTransaction()
{
    if (closed_) return;
    try {
        Close();
    } catch (const std::exception&) {
        // The file is closed all the same; how the treatment ended is decided.
    }
}

void FileTransaction::Begin()
{
    components_.dbFilm.BeginTrans();
}

void FileTransaction::Commit()
{
    components_.dbFilm.CommitTrans();
}

void FileTransaction::Close()
{
    components_.mdbClone.Close();
    components_.mdbFilmy.Close();
    auto& db = components_.dbFilm;
    std::exception_ptr rollbackFailure;
    try {
        if (db.InTransaction()) db.RollbackTrans();
    } catch (const std::exception&) {
        rollbackFailure = std::current_exception();
    }
    db.CloseBase();
    closed_ = true;
    if (rollbackFailure) std::rethrow_exception(rollbackFailure);
}

void FileTransaction::Deactivate()
{
    components_.dbFilm.SetConnected(false);
    closed_ = true;
}

}  // namespace patch
