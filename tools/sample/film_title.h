#pragma once
// Film titles: the original one in the production's language and the title
// of the Polish release.

#include <string>

#include "tools/sample/random_source.h"
#include "tools/sample/word_pools.h"

namespace sample {

struct FilmTitle {
    std::string original;
    std::string polish;
};

FilmTitle MakeFilmTitle(RandomSource& random, Language language);

}  // namespace sample
