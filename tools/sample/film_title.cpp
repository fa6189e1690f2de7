#include "tools/sample/film_title.h"

#include "tools/sample/utf8_text.h"

namespace sample {

namespace {

std::string_view adjectiveFor(const TitleAdjective& adjective, Gender gender)
{
    switch (gender) {
    case Gender::Feminine: return adjective.feminine;
    case Gender::Neuter: return adjective.neuter;
    case Gender::Masculine: break;
    }
    return adjective.masculine;
}

std::string_view nounIn(const TitleNoun& noun, Language language)
{
    switch (language) {
    case Language::French: return noun.french;
    case Language::German: return noun.german;
    case Language::Italian: return noun.italian;
    case Language::Polish: return noun.polish;
    case Language::English: break;
    }
    return noun.english;
}

std::string withArticle(RandomSource& random, std::string_view english)
{
    return (random.percent(60) ? "The " : "") + std::string(english);
}

// An English title and its Polish translation, built from the same words.
FilmTitle composedTitle(RandomSource& random)
{
    const TitleNoun& noun = random.pick(TitleNouns());
    const std::string polishNoun(noun.polish);
    switch (random.below(4)) {
    case 0: {
        const TitleAdjective& adjective = random.pick(TitleAdjectives());
        return {"The " + std::string(adjective.english) + " " + std::string(noun.english),
                std::string(adjectiveFor(adjective, noun.gender)) + " " + polishNoun};
    }
    case 1: {
        const TitlePlace& place = random.pick(TitlePlaces());
        return {std::string(noun.english) + " " + std::string(place.english),
                CapitalizeFirst(polishNoun) + " " + std::string(place.polishLocative)};
    }
    case 2: {
        const TitleAdjective& adjective = random.pick(TitleAdjectives());
        return {std::string(adjective.english) + " " + std::string(noun.english),
                std::string(adjectiveFor(adjective, noun.gender)) + " " + polishNoun};
    }
    default: return {withArticle(random, noun.english), CapitalizeFirst(polishNoun)};
    }
}

void addSequelOrSubtitle(RandomSource& random, FilmTitle& title, Language language)
{
    if (random.percent(6)) {
        static constexpr const char* numbers[] = {" 2", " 3", " II"};
        const char* number = numbers[random.below(3)];
        title.original += number;
        title.polish += number;
    } else if (language == Language::English && random.percent(6)) {
        const TitlePair& subtitle = random.pick(TitleSubtitles());
        title.original += ": " + std::string(subtitle.original);
        title.polish += ": " + std::string(subtitle.polish);
    }
}

}  // namespace

FilmTitle MakeFilmTitle(RandomSource& random, Language language)
{
    if (random.percent(8)) {
        const TitlePair& known = random.pick(KnownTitles(language));
        return {std::string(known.original), std::string(known.polish)};
    }
    FilmTitle title;
    if (language == Language::English) {
        title = composedTitle(random);
        // Some releases keep the original title.
        if (random.percent(8)) title.polish = title.original;
    } else if (language == Language::Polish) {
        title.polish = composedTitle(random).polish;
        title.original = title.polish;
    } else {
        const TitleNoun& noun = random.pick(TitleNouns());
        title = {std::string(nounIn(noun, language)), CapitalizeFirst(std::string(noun.polish))};
    }
    addSequelOrSubtitle(random, title, language);
    return title;
}

}  // namespace sample
