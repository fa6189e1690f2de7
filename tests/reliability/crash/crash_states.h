#pragma once
// Which of the images a cut can leave are tried at each cut of the log.

#include <cstddef>
#include <string>
#include <vector>

#include "tests/reliability/crash/crash_model.h"

namespace crash {

struct CrashState {
    std::size_t namesKept = 0;
    DataChoice data{};
};

// At every cut: everything made, and each durable prefix of the unsynced changes
// of names with all or none of the unsynced writes. Before a sync and at the
// end, where the unsynced writes are most, also each unsynced write alone (whole,
// in part, or zeroed) and each file's writes all or none, the other files'
// writes all (with every change of names) or none (with only the durable ones);
// thorough adds the two other pairings and each write left out alone.
std::vector<CrashState> StatesAt(const CrashModel& model, bool thorough);

// A description of state, for a report.
std::string DescribeState(const CrashModel& model, const CrashState& state, const OperationLog& log);

}  // namespace crash
