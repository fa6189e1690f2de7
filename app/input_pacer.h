#pragma once
// When a long run on the user-interface thread lets the window handle its
// pending input.

#include <chrono>
#include <functional>
#include <optional>

namespace app {

// Handling pending input after every copied row costs more than the row
// itself; the user sees the same when it is handled once an interval has
// passed. Asked after every row, the pacer says whether this is such a time.
class InputPacer {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit InputPacer(std::chrono::milliseconds interval, Clock clock = &std::chrono::steady_clock::now);

    // True when pending input is to be handled now: the first time, once the
    // interval has passed since the last time, or when catching up is asked
    // for. From a true answer on, the interval runs anew.
    bool Due(bool catchUp = false);

private:
    std::chrono::milliseconds interval_;
    Clock clock_;
    std::optional<std::chrono::steady_clock::time_point> last_;
};

}  // namespace app
