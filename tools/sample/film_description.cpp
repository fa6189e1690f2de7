#include "tools/sample/film_description.h"

#include <algorithm>
#include <vector>

#include "tools/sample/person_names.h"
#include "tools/sample/utf8_text.h"

namespace sample {

namespace {

struct Cast {
    PersonName hero;
    PersonName second;
    std::string_view profession;
    std::string_view place;
    std::string_view decade;
};

std::string_view alternative(std::string_view choices, Gender gender)
{
    const auto bar = choices.find('|');
    if (bar == std::string_view::npos) return choices;
    return gender == Gender::Feminine ? choices.substr(bar + 1) : choices.substr(0, bar);
}

std::string expand(std::string_view pattern, const Cast& cast)
{
    std::string text;
    text.reserve(pattern.size() + 40);
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char open = pattern[i];
        const char close = open == '{' ? '}' : open == '[' ? ']' : '\0';
        const auto end = close ? pattern.find(close, i) : std::string_view::npos;
        if (end == std::string_view::npos) {
            text += open;
            ++i;
            continue;
        }
        const std::string_view inner = pattern.substr(i + 1, end - i - 1);
        if (open == '[')
            text += alternative(inner, cast.second.gender);
        else if (inner == "P")
            text += cast.hero.first;
        else if (inner == "S")
            text += cast.second.full();
        else if (inner == "J")
            text += alternative(cast.profession, cast.hero.gender);
        else if (inner == "M")
            text += cast.place;
        else if (inner == "D")
            text += cast.decade;
        else
            text += alternative(inner, cast.hero.gender);
        i = end + 1;
    }
    return CapitalizeFirst(std::move(text));
}

// Sentences of a pool in a random order, none twice.
std::vector<std::string_view> shuffled(RandomSource& random, std::span<const std::string_view> pool)
{
    std::vector<std::string_view> order(pool.begin(), pool.end());
    for (std::size_t i = order.size(); i > 1; --i)
        std::swap(order[i - 1], order[random.below(static_cast<std::uint32_t>(i))]);
    return order;
}

std::size_t targetLength(RandomSource& random)
{
    switch (random.below(5)) {
    case 0:
    case 1: return static_cast<std::size_t>(random.between(300, 600));
    case 2:
    case 3: return static_cast<std::size_t>(random.between(600, 1200));
    default: return static_cast<std::size_t>(random.between(1200, 2200));
    }
}

// targetChars 0: a length drawn as the usual films have it.
std::string describe(RandomSource& random, Language language, std::size_t targetChars)
{
    const DescriptionPools& pools = Descriptions();
    Cast cast{MakePersonName(random, language), MakePersonName(random, language), random.pick(pools.professions),
              random.pick(pools.places), random.pick(pools.decades)};
    const std::size_t target = targetChars ? targetChars : targetLength(random);
    const bool withVerdicts = target > 900;
    const std::size_t plotTarget = withVerdicts ? target * 3 / 4 : target;

    std::string text = expand(random.pick(pools.openings), cast);
    for (std::string_view sentence : shuffled(random, pools.plot)) {
        if (CodePoints(text) >= plotTarget) break;
        text += ' ';
        text += expand(sentence, cast);
    }
    if (withVerdicts) {
        const char* separator = "\r\n\r\n";
        for (std::string_view sentence : shuffled(random, pools.verdicts)) {
            if (CodePoints(text) >= target) break;
            text += separator;
            text += sentence;
            separator = " ";
        }
    }
    return text;
}

}  // namespace

std::string MakeDescription(RandomSource& random, Language language)
{
    return describe(random, language, 0);
}

std::string MakeDescription(RandomSource& random, Language language, std::size_t targetChars)
{
    return describe(random, language, targetChars);
}

}  // namespace sample
