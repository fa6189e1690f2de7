#pragma once
// A database value: null, Boolean, 32-bit integer, double, UTF-8 text or date/time.

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace engine {

struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    auto operator<=>(const DateTime&) const = default;
};

enum class VariantType { Null, Boolean, Integer, Double, Text, DateTime };

// Name of a value type as error messages give it ("Null", "Boolean", ...).
const char* variantTypeName(VariantType type);

class Variant {
public:
    Variant() = default;  // null
    Variant(bool value) : value_(value) {}
    Variant(std::int32_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(const char* value) : value_(std::string(value)) {}
    Variant(DateTime value) : value_(value) {}

    // A value is assigned in place, not through a temporary Variant: moving a
    // temporary reads whichever alternative it holds, and GCC cannot always see
    // which (it then warns of an uninitialised text).
    Variant& operator=(bool value) { return set(value); }
    Variant& operator=(std::int32_t value) { return set(value); }
    Variant& operator=(double value) { return set(value); }
    Variant& operator=(std::string value) { return set(std::move(value)); }
    Variant& operator=(const char* value) { return set(std::string(value)); }
    Variant& operator=(DateTime value) { return set(value); }

    VariantType type() const { return static_cast<VariantType>(value_.index()); }
    bool isNull() const { return value_.index() == 0; }

    // Conversions; each throws VariantError for a null or a value that does not convert.
    bool toBoolean() const;
    std::int32_t toInteger() const;  // Boolean gives -1 or 0; null is an error
    double toDouble() const;
    std::string toText() const;
    DateTime toDateTime() const;

    // Direct access; valid only for the matching type().
    bool boolean() const { return std::get<bool>(value_); }
    std::int32_t integer() const { return std::get<std::int32_t>(value_); }
    double real() const { return std::get<double>(value_); }
    const std::string& text() const { return std::get<std::string>(value_); }
    const DateTime& dateTime() const { return std::get<DateTime>(value_); }

    // Makes this a text; a text held already keeps its storage, so that a value
    // set row after row does not allocate each time.
    void assignText(std::string_view text);

    bool operator==(const Variant&) const = default;

private:
    template <class T>
    Variant& set(T&& value)
    {
        value_ = std::forward<T>(value);
        return *this;
    }

    std::variant<std::monostate, bool, std::int32_t, double, std::string, DateTime> value_;
};

}  // namespace engine
