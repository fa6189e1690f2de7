#pragma once
// A child process that takes hold of something (a lock, an open transaction)
// and keeps it until the object is destroyed, as another program would.

#include <sys/types.h>

#include <functional>
#include <string>

namespace test_support {

class HoldingProcess {
public:
    // take runs in the child and says whether the hold was taken; the
    // constructor returns once it has.
    explicit HoldingProcess(const std::function<bool()>& take);
    ~HoldingProcess();
    HoldingProcess(const HoldingProcess&) = delete;
    HoldingProcess& operator=(const HoldingProcess&) = delete;

    bool held() const { return held_; }

private:
    pid_t pid_ = -1;
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
