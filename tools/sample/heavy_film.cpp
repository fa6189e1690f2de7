#include "tools/sample/heavy_film.h"

#include <vector>

#include "tools/sample/film_description.h"
#include "tools/sample/person_names.h"
#include "tools/sample/utf8_text.h"

namespace sample {

namespace {

constexpr std::size_t titleChars = 150;  // T_ORG and T_PL

// The film's titles followed by those of its other parts, until the original
// title reaches the wanted length; both are cut to whole parts that fit.
void lengthenTitles(RandomSource& random, Film& film, Language language)
{
    std::vector<std::string> originals{film.originalTitle};
    std::vector<std::string> polish{film.polishTitle};
    const auto wanted = static_cast<std::size_t>(random.between(100, 150));
    while (CodePoints(JoinWithin(originals, ": ", titleChars + 1)) < wanted && originals.size() < 12) {
        FilmTitle part = MakeFilmTitle(random, language);
        originals.push_back(std::move(part.original));
        polish.push_back(std::move(part.polish));
    }
    film.originalTitle = JoinWithin(originals, ": ", titleChars);
    film.polishTitle = JoinWithin(polish, ": ", titleChars);
}

std::string otherTitles(RandomSource& random, Language language)
{
    std::string text;
    for (int i = random.between(2, 4); i > 0; --i) {
        const FilmTitle other = MakeFilmTitle(random, language);
        if (!text.empty()) text += "\r\n";
        text += other.original;
        if (other.polish != other.original) text += "\r\n" + other.polish;
    }
    return text;
}

}  // namespace

void MakeHeavy(RandomSource& random, Film& film, Language language)
{
    lengthenTitles(random, film, language);
    film.description = MakeDescription(random, language, static_cast<std::size_t>(random.between(1000, 2400)));
    film.actors = JoinWithin(MakeFullNames(random, language, random.between(20, 36)), ", ", 100000);
    film.aka = otherTitles(random, language);
}

}  // namespace sample
