#pragma once
#include <cstdint>

namespace engine {

// Field type codes as stored catalogues know them.
enum class FieldKind : std::int32_t {
    YesNo = 1,
    Byte = 2,
    Integer = 3,
    Long = 4,
    Currency = 5,
    Single = 6,
    Double = 7,
    DateTime = 8,
    Binary = 9,
    Text = 10,
    LongBinary = 11,
    Memo = 12,
    Guid = 15,
};

}  // namespace engine
