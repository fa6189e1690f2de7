#include "tools/sample/person_names.h"

namespace sample {

namespace {

std::string feminineSurname(std::string_view surname)
{
    std::string result(surname);
    const bool adjectival =
        result.size() > 3 && result.ends_with("ki") &&
        (result[result.size() - 3] == 's' || result[result.size() - 3] == 'c' || result[result.size() - 3] == 'z');
    if (adjectival) result.back() = 'a';
    return result;
}

}  // namespace

PersonName MakePersonName(RandomSource& random, Language language, unsigned womenPercent)
{
    const NamePool pool = NamesOf(language);
    const bool woman = random.percent(womenPercent);
    PersonName name;
    name.gender = woman ? Gender::Feminine : Gender::Masculine;
    name.first = std::string(random.pick(woman ? pool.female : pool.male));
    const std::string_view surname = random.pick(pool.surnames);
    name.surname = woman && pool.genderedSurnames ? feminineSurname(surname) : std::string(surname);
    return name;
}

std::vector<std::string> MakeFullNames(RandomSource& random, Language language, int count, unsigned womenPercent)
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) names.push_back(MakePersonName(random, language, womenPercent).full());
    return names;
}

}  // namespace sample
