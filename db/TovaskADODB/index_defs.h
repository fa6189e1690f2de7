#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace TovaskADODB {

enum class TIndexOption : std::uint8_t {
    Primary,
    Unique,
    Descending,
    CaseInsensitive,
    Expression,
    NonMaintained,
};

// A set of index options.
class TIndexOptions {
public:
    TIndexOptions() = default;
    TIndexOptions(std::initializer_list<TIndexOption> options);
    bool Contains(TIndexOption option) const { return (bits_ & Bit(option)) != 0; }
    bool Empty() const { return bits_ == 0; }
    bool operator==(const TIndexOptions&) const = default;

private:
    static std::uint8_t Bit(TIndexOption option)
    {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(option));
    }
    std::uint8_t bits_ = 0;
};

struct TIndexDef {
    std::string Name;
    std::string Fields;  // field names separated by ';'
    TIndexOptions Options;
};

// The index definitions of a table component, in the order they were added.
class TIndexDefs {
public:
    void Clear() { items_.clear(); }
    TIndexDef& Add(std::string name, std::string fields, TIndexOptions options = {});
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    // Fails (EDatabaseError) for a position out of range.
    const TIndexDef& operator[](int position) const;
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<TIndexDef> items_;
};

}  // namespace TovaskADODB
