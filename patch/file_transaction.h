#pragma once
// A catalogue file held for its treatment, in the manner of a scoped
// transaction: whatever way the treatment leaves, the file is closed, and what
// was not committed is rolled back first. The destructor never throws.

#include "patch/patch_components.h"

namespace patch {

class FileTransaction {
public:
    explicit FileTransaction(PatchComponents& components) : components_(components) {}
    ~FileTransaction();
    FileTransaction(const FileTransaction&) = delete;
    FileTransaction& operator=(const FileTransaction&) = delete;

    // One transaction for the file, holding its write lock from the start.
    void Begin();
    // Keeps what the treatment wrote.
    void Commit();
    // Rolls back what is not committed and closes the file. The file is closed
    // even when the rollback fails; that failure is passed on after closing.
    void Close();
    // Only makes the connection inactive, as for a file that is no catalogue:
    // the schema side stays open until the next file replaces it.
    void Deactivate();

private:
    PatchComponents& components_;
    bool closed_ = false;
};

}  // namespace patch
