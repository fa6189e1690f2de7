#pragma once
// The heavy shape of a film, for measuring the upgrade on catalogues kept with
// more care than the usual sample: about 3 KB a film, with titles near their
// 150 characters, a long Polish description, a long cast and other titles.

#include "tools/sample/film_record.h"
#include "tools/sample/random_source.h"
#include "tools/sample/word_pools.h"

namespace sample {

// Fills a usual film out to the heavy shape; draws only from random.
void MakeHeavy(RandomSource& random, Film& film, Language language);

}  // namespace sample
