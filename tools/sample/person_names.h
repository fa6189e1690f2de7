#pragma once
// People's names in the language of a film's production.

#include <string>
#include <vector>

#include "tools/sample/random_source.h"
#include "tools/sample/word_pools.h"

namespace sample {

struct PersonName {
    std::string first;
    std::string surname;
    Gender gender;

    std::string full() const { return first + " " + surname; }
};

// womenPercent: chance of a woman.
PersonName MakePersonName(RandomSource& random, Language language, unsigned womenPercent = 50);
std::vector<std::string> MakeFullNames(RandomSource& random, Language language, int count, unsigned womenPercent = 50);

}  // namespace sample
