#pragma once
// A child process that takes hold of something (a lock, an open transaction)
// and keeps it until the object is destroyed, as another program would.

#include <sys/types.h>

#include <functional>
#include <string>

namespace test_support {

class HoldingProcess {
public:
    // What the child does while it holds: given a descriptor that becomes
    // readable (end of file) when it is to let go, it returns the child's exit
    // status. By default it only waits.
    using Hold = std::function<int(int release)>;

    // take runs in the child and says whether the hold was taken; the
    // constructor returns once it has. hold then runs, when it was taken.
    explicit HoldingProcess(const std::function<bool()>& take, const Hold& hold = {});
    ~HoldingProcess() { Stop(); }
    HoldingProcess(const HoldingProcess&) = delete;
    HoldingProcess& operator=(const HoldingProcess&) = delete;

    bool held() const { return held_; }
    // Lets go and waits for the child; its exit status (-1 for a child that
    // did not exit normally). Later calls give the same.
    int Stop();

private:
    pid_t pid_ = -1;
    int status_ = 0;
    int release_ = -1;
    bool held_ = false;
};

// A child process that opens an SQLite file, runs sql on it (a BEGIN that
// takes a lock, perhaps with a first write) and keeps the file so until the
// object is destroyed.
class LockingProcess : public HoldingProcess {
public:
    LockingProcess(const std::string& path, const std::string& sql);
    bool locked() const { return held(); }
};

}  // namespace test_support
