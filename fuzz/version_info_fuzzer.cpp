// Any bytes as an executable image: the version reader must neither crash nor
// read outside the image, and must answer with a well-formed text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/files/version_info.h"

namespace {

bool IsVersionText(const std::string& text)
{
    if (text.empty() || text == "0.0.0.0") return true;
    int dots = 0;
    for (const char c : text) {
        if (c == '.')
            ++dots;
        else if (c < '0' || c > '9')
            return false;
    }
    return dots == 3;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto text = utils::GetImageVersionText(std::span<const std::uint8_t>(data, size));
    if (!IsVersionText(text)) std::abort();
    return 0;
}
