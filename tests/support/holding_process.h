#pragma once
// A child process that takes hold of something (a lock, an open transaction)
// and keeps it until the object is destroyed, as another program would.

#include <sys/types.h>

#include <functional>

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

}  // namespace test_support
