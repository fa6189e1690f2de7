#include "db/engine/variant.h"

#include "db/engine/engine_error.h"
#include "db/engine/value_text.h"

namespace engine {
namespace {

[[noreturn]] void cannotConvert(VariantType from, const char* to)
{
    throw VariantError(std::string("Cannot convert a ") + variantTypeName(from) + " value to " + to + ".");
}

}  // namespace

const char* variantTypeName(VariantType type)
{
    switch (type) {
    case VariantType::Null: return "Null";
    case VariantType::Boolean: return "Boolean";
    case VariantType::Integer: return "Integer";
    case VariantType::Double: return "Double";
    case VariantType::Text: return "Text";
    case VariantType::DateTime: return "DateTime";
    }
    return "Unknown";
}

bool Variant::toBoolean() const
{
    switch (type()) {
    case VariantType::Boolean: return boolean();
    case VariantType::Integer: return integer() != 0;
    case VariantType::Double: return real() != 0.0;
    case VariantType::Text:
        if (const auto number = detail::parseDouble(text())) return *number != 0.0;
        if (text() == "True") return true;
        if (text() == "False") return false;
        break;
    default: break;
    }
    cannotConvert(type(), "Boolean");
}

std::int32_t Variant::toInteger() const
{
    switch (type()) {
    case VariantType::Boolean: return boolean() ? -1 : 0;
    case VariantType::Integer: return integer();
    case VariantType::Double:
        if (const auto rounded = detail::roundToInteger(real())) return *rounded;
        break;
    case VariantType::Text:
        if (const auto number = detail::parseInteger(text())) return *number;
        break;
    default: break;
    }
    cannotConvert(type(), "Integer");
}

double Variant::toDouble() const
{
    switch (type()) {
    case VariantType::Boolean: return boolean() ? -1.0 : 0.0;
    case VariantType::Integer: return integer();
    case VariantType::Double: return real();
    case VariantType::Text:
        if (const auto number = detail::parseDouble(text())) return *number;
        break;
    default: break;
    }
    cannotConvert(type(), "Double");
}

std::string Variant::toText() const
{
    switch (type()) {
    case VariantType::Boolean: return boolean() ? "True" : "False";
    case VariantType::Integer: return std::to_string(integer());
    case VariantType::Double:
        if (auto text = detail::doubleText(real())) return *std::move(text);
        break;
    case VariantType::Text: return text();
    case VariantType::DateTime:
        if (detail::isValidDateTime(dateTime())) return detail::dateTimeDisplayText(dateTime());
        break;
    default: break;
    }
    cannotConvert(type(), "Text");
}

void Variant::assignText(std::string_view text)
{
    if (auto* held = std::get_if<std::string>(&value_))
        held->assign(text);
    else
        value_.emplace<std::string>(text);
}

DateTime Variant::toDateTime() const
{
    switch (type()) {
    case VariantType::DateTime: return dateTime();
    case VariantType::Text:
        if (const auto value = detail::parseIsoDateTime(text())) return *value;
        break;
    default: break;
    }
    cannotConvert(type(), "DateTime");
}

}  // namespace engine
