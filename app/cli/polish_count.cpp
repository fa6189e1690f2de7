#include "app/cli/polish_count.h"

namespace cli {

std::string PolishCount(long long number, const PolishForms& forms)
{
    const long long units = number % 10;
    const long long tens = number % 100;
    const char* form = forms.many;
    if (number == 1)
        form = forms.one;
    else if (units >= 2 && units <= 4 && (tens < 12 || tens > 14))
        form = forms.few;
    return std::to_string(number) + " " + form;
}

}  // namespace cli
