#pragma once
#include <string>

namespace cli {

// The three forms a Polish word takes after a number: 1 baza, 2 bazy, 5 baz.
struct PolishForms {
    const char* one;
    const char* few;   // 2–4, 22–24, 32–34, ... but not 12–14
    const char* many;  // 0, 5–21, 25–31, ...
};

// The number followed by the form that agrees with it.
std::string PolishCount(long long number, const PolishForms& forms);

}  // namespace cli
