#include "db/engine/declared_type.h"

#include "db/engine/engine_error.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace engine::detail {
namespace {

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// Splits "NAME(n...)" into the name and the first number; size -1 without one.
std::pair<std::string, std::int32_t> nameAndSize(std::string_view declared)
{
    const auto open = declared.find('(');
    if (open == std::string_view::npos) return {std::string(trim(declared)), -1};
    std::string_view args = trim(declared.substr(open + 1));
    std::int32_t size = -1;
    const auto [end, ec] = std::from_chars(args.data(), args.data() + args.size(), size);
    if (ec != std::errc() || size < 0) size = -1;
    (void)end;
    return {std::string(trim(declared.substr(0, open))), size};
}

bool contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace

ColumnKind kindOfDeclaredType(std::string_view declaredType)
{
    const std::string declared = upper(trim(declaredType));
    auto [name, size] = nameAndSize(declared);

    if (name == "BIT" || name == "BOOLEAN") return {FieldKind::YesNo, 0};
    if (name == "LONG") return {FieldKind::Long, 0};
    if (name == "DATETIME" || name == "DATE" || name == "TIMESTAMP") return {FieldKind::DateTime, 0};
    if (name == "MEMO") return {FieldKind::Memo, 0};
    // The kinds that files carried over from Access add; none of these names
    // has an affinity that changes the values stored under it.
    if (name == "BYTE") return {FieldKind::Byte, 0};
    if (name == "SHORT") return {FieldKind::Integer, 0};
    if (name == "COUNTER") return {FieldKind::Long, 0};
    if (name == "CURRENCY") return {FieldKind::Currency, 0};
    if (name == "SINGLE") return {FieldKind::Single, 0};
    if (name == "GUID") return {FieldKind::Guid, 0};
    if (name == "BINARY") return {FieldKind::Binary, size > 0 ? size : 255};
    if (name == "LONGBINARY") return {FieldKind::LongBinary, 0};

    // SQLite's affinity rules, in SQLite's order.
    if (contains(name, "INT")) return {FieldKind::Long, 0};
    if (contains(name, "CHAR") || contains(name, "CLOB") || contains(name, "TEXT")) {
        if (size > 0) return {FieldKind::Text, size};
        return {FieldKind::Memo, 0};
    }
    if (name.empty() || contains(name, "BLOB")) return {FieldKind::LongBinary, 0};
    if (contains(name, "REAL") || contains(name, "FLOA") || contains(name, "DOUB")) return {FieldKind::Double, 0};
    return {FieldKind::LongBinary, 0};
}

std::string declaredTypeFor(FieldKind kind, std::int32_t size)
{
    switch (kind) {
    case FieldKind::YesNo: return "BIT";
    case FieldKind::Long: return "LONG";
    case FieldKind::DateTime: return "DATETIME";
    case FieldKind::Memo: return "MEMO";
    case FieldKind::Text:
        if (size < 1 || size > 255) throw EngineError("The field size must be between 1 and 255 characters.");
        return "TEXT(" + std::to_string(size) + ")";
    case FieldKind::Byte: return "BYTE";
    case FieldKind::Integer: return "SHORT";
    case FieldKind::Currency: return "CURRENCY";
    case FieldKind::Single: return "SINGLE";
    case FieldKind::Double: return "DOUBLE";
    case FieldKind::Guid: return "GUID";
    case FieldKind::LongBinary: return "LONGBINARY";
    case FieldKind::Binary:
        if (size < 1 || size > 255) throw EngineError("The field size must be between 1 and 255 bytes.");
        return "BINARY(" + std::to_string(size) + ")";
    }
    throw EngineError("Invalid field data type.");
}

}  // namespace engine::detail
