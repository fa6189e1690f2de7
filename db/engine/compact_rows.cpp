#include "db/engine/compact_rows.h"

#include "db/engine/engine_error.h"
#include "db/engine/value_text.h"

#include <cstring>
#include <limits>

namespace engine::detail {
namespace {

// A cell is its type in one byte, then 8 bytes of number, 1 of Boolean, or a
// text's length in 4 bytes and its bytes.
template <class T>
void putRaw(std::string& bytes, const T& value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T>
T takeRaw(const char*& at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    at += sizeof value;
    return value;
}

}  // namespace

void CompactRows::clear()
{
    bytes_.clear();
    rowStarts_.clear();
}

void CompactRows::put(const StoredCell& cell)
{
    using T = StoredCell::Type;
    bytes_.push_back(static_cast<char>(cell.type));
    switch (cell.type) {
    case T::Null: break;
    case T::Boolean: bytes_.push_back(cell.integer != 0 ? 1 : 0); break;
    case T::Integer: putRaw(bytes_, cell.integer); break;
    case T::Real: putRaw(bytes_, cell.real); break;
    case T::Text:
    case T::DateText:
        if (cell.text.size() > std::numeric_limits<std::uint32_t>::max()) throw EngineError("Value too long.");
        putRaw(bytes_, static_cast<std::uint32_t>(cell.text.size()));
        bytes_.append(cell.text);
        break;
    }
}

void CompactRows::appendFrom(const Statement& statement, int firstColumn, const std::vector<FieldKind>& kinds)
{
    fieldCount_ = static_cast<int>(kinds.size());
    rowStarts_.push_back(bytes_.size());
    for (int i = 0; i < fieldCount_; ++i) put(cellOf(statement, firstColumn + i, kinds[static_cast<std::size_t>(i)]));
}

void CompactRows::append(const std::vector<const Variant*>& stored)
{
    using T = StoredCell::Type;
    fieldCount_ = static_cast<int>(stored.size());
    rowStarts_.push_back(bytes_.size());
    std::string date;
    for (const Variant* each : stored) {
        const Variant& value = *each;
        switch (value.type()) {
        case VariantType::Null: put({}); break;
        case VariantType::Boolean: put(StoredCell::of(value.boolean())); break;
        case VariantType::Integer: put(StoredCell::of(std::int64_t{value.integer()})); break;
        case VariantType::Double: put(StoredCell::of(value.real())); break;
        case VariantType::Text: put(StoredCell::of(T::Text, value.text())); break;
        case VariantType::DateTime:
            formatStoredDateTime(value.dateTime(), date);
            put(StoredCell::of(T::DateText, date));
            break;
        }
    }
}

void CompactRows::read(int row, std::vector<Variant>& out) const
{
    using T = StoredCell::Type;
    out.resize(static_cast<std::size_t>(fieldCount_));
    const char* at = bytes_.data() + rowStarts_.at(static_cast<std::size_t>(row));
    for (Variant& value : out) {
        StoredCell cell;
        cell.type = static_cast<T>(*at++);
        switch (cell.type) {
        case T::Null: break;
        case T::Boolean: cell.integer = static_cast<unsigned char>(*at++); break;
        case T::Integer: cell.integer = takeRaw<std::int64_t>(at); break;
        case T::Real: cell.real = takeRaw<double>(at); break;
        case T::Text:
        case T::DateText: {
            const auto length = takeRaw<std::uint32_t>(at);
            cell.text = std::string_view(at, length);
            at += length;
            break;
        }
        }
        assignStored(cell, value);
    }
}

}  // namespace engine::detail
