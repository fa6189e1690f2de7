#pragma once
// The film's description (OPIS): a plot outline and, for the longer ones, a
// paragraph of verdicts; a few hundred to a couple of thousand characters.

#include <string>

#include "tools/sample/random_source.h"
#include "tools/sample/word_pools.h"

namespace sample {

// The characters are named in the production's language.
std::string MakeDescription(RandomSource& random, Language language);
// One of about targetChars characters, as far as the sentences go.
std::string MakeDescription(RandomSource& random, Language language, std::size_t targetChars);

}  // namespace sample
