#include "patch/format_text.h"

namespace patch {

std::string FormatText(std::string text, const std::string& first, const std::string& second)
{
    std::string::size_type from = 0;
    for (const std::string* arg : {&first, &second}) {
        const auto at = text.find("%s", from);
        if (at == std::string::npos) break;
        text.replace(at, 2, *arg);
        from = at + arg->size();
    }
    return text;
}

}  // namespace patch
