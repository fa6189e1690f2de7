#pragma once
// The word pools the sample data is drawn from: names, genres, countries,
// title words, description sentences, technical values and remarks.

#include <span>
#include <string_view>

namespace sample {

enum class Language { Polish, English, French, German, Italian };
enum class Gender { Masculine, Feminine, Neuter };

struct Country {
    std::string_view name;  // as a Polish catalogue writes it
    Language language;      // of the film's original title and crew
    int weight;             // share of the films, in per mille
};

struct NamePool {
    std::span<const std::string_view> male;
    std::span<const std::string_view> female;
    std::span<const std::string_view> surnames;  // masculine forms
    bool genderedSurnames;                       // Polish -ski/-cki/-dzki take -a for women
};

struct TitleAdjective {
    std::string_view masculine, feminine, neuter, english;
};

struct TitleNoun {
    std::string_view polish;
    Gender gender;
    std::string_view english, french, german, italian;  // with their articles where they take one
};

struct TitlePlace {
    std::string_view polishLocative, english;
};

struct TitlePair {
    std::string_view original, polish;
};

// "{a|b}" picks by the hero's gender, "[a|b]" by the second character's,
// "{P}" the hero's first name, "{S}" the second character's full name,
// "{J}" the hero's profession, "{M}" a place ("w Krakowie"), "{D}" a decade.
struct DescriptionPools {
    std::span<const std::string_view> openings;
    std::span<const std::string_view> plot;
    std::span<const std::string_view> verdicts;
    std::span<const std::string_view> professions;  // "policjantem|policjantką"
    std::span<const std::string_view> places;
    std::span<const std::string_view> decades;
};

NamePool NamesOf(Language language);
std::span<const Country> Countries();
std::span<const std::string_view> Genres();
std::span<const TitleAdjective> TitleAdjectives();
std::span<const TitleNoun> TitleNouns();
std::span<const TitlePlace> TitlePlaces();
std::span<const TitlePair> TitleSubtitles();                // English and Polish subtitle
std::span<const TitlePair> KnownTitles(Language language);  // original and Polish title
const DescriptionPools& Descriptions();
std::span<const std::string_view> Remarks();
std::span<const std::string_view> Locations();
std::span<const std::string_view> DvdLanguages();       // "Polski", ...
std::span<const std::string_view> SubtitleLanguages();  // "Polskie", ...
std::span<const std::string_view> MusicGenres();
std::span<const std::string_view> MusicMedia();

}  // namespace sample
