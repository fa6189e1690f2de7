#include "tests/support/holding_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <stdexcept>

#include "tests/support/sqlite_file.h"

namespace test_support {

HoldingProcess::HoldingProcess(const std::function<bool()>& take, const Hold& hold)
{
    int ready[2];
    int release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        const bool taken = take();
        const char status = taken ? 'y' : 'x';
        (void)!::write(ready[1], &status, 1);
        if (taken && hold) _exit(hold(release[0]));
        char ignored;
        (void)!::read(release[0], &ignored, 1);  // returns when the parent closes its end
        _exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char status = 'x';
    (void)!::read(ready[0], &status, 1);
    ::close(ready[0]);
    held_ = status == 'y';
}

int HoldingProcess::Stop()
{
    if (pid_ <= 0) return status_;
    ::close(release_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return status_;
}

LockingProcess::LockingProcess(const std::string& path, const std::string& sql)
    : HoldingProcess([&path, &sql] {
          // The child leaves with _exit, which closes nothing: the file stays
          // open, and the lock taken, until then.
          static std::optional<SqliteFile> file;
          try {
              file.emplace(path, SqliteFile::Mode::ReadWrite);
              file->exec(sql);
              return true;
          } catch (const std::runtime_error&) {
              return false;  // told to the parent as a lock not taken
          }
      })
{
}

}  // namespace test_support
