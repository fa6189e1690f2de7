#pragma once
#include <cstdint>

namespace engine {

// Field type codes as stored catalogues know them.
enum class FieldKind : std::int32_t {
    YesNo = 1,
    Long = 4,
    Double = 7,
    DateTime = 8,
    Text = 10,
    LongBinary = 11,
    Memo = 12,
};

}  // namespace engine
