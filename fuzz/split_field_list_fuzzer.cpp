// Any field list splits without fault; entries are trimmed and hold no separator.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "db/TovaskADODB/split_field_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> list{"stale"};
    TovaskADODB::SplitFieldList(input, list);
    std::size_t separators = 0;
    for (const char c : input)
        if (c == ';' || c == '\r' || c == '\n') ++separators;
    if (list.size() > separators + 1) std::abort();
    for (const auto& entry : list) {
        if (entry.find_first_of(";\r\n") != std::string::npos) std::abort();
        if (!entry.empty() &&
            (static_cast<unsigned char>(entry.front()) <= ' ' || static_cast<unsigned char>(entry.back()) <= ' '))
            std::abort();
    }
    return 0;
}
