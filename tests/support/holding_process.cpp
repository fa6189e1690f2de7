#include "tests/support/holding_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace test_support {

HoldingProcess::HoldingProcess(const std::function<bool()>& take)
{
    int ready[2];
    int release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        const char status = take() ? 'y' : 'x';
        (void)!::write(ready[1], &status, 1);
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

HoldingProcess::~HoldingProcess()
{
    ::close(release_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
}

}  // namespace test_support
