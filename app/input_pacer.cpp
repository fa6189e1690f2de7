#include "app/input_pacer.h"

#include <utility>

namespace app {

InputPacer::InputPacer(std::chrono::milliseconds interval, Clock clock) : interval_(interval), clock_(std::move(clock))
{
}

bool InputPacer::Due(bool catchUp)
{
    const auto now = clock_();
    if (!catchUp && last_ && now - *last_ < interval_) return false;
    last_ = now;
    return true;
}

}  // namespace app
