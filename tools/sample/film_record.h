#pragma once
// One film of the catalogue with everything any level stores about it. Each
// level's structure takes the parts it has, so the same seed gives the same
// films at every level.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/sample/film_title.h"
#include "tools/sample/random_source.h"

namespace sample {

struct Film {
    std::int32_t key = 0;  // ID_CD before the upgrade, FILM_ID after it
    std::string originalTitle, polishTitle;
    std::string genres, countries;
    std::optional<std::int32_t> year;
    std::optional<std::string> director, writer, cinematography, actors, music;
    std::optional<std::int32_t> discs;
    std::optional<std::string> size, videoCodec, resolution, fps, duration, videoBitrate;
    std::optional<std::string> audioCodec, sampleRate, audioBitrate, channels;
    std::optional<std::string> remarks, translator, description;
    int dayAdded = 0;
    std::string added;  // date-time text
    bool watched = false;
    std::optional<std::int32_t> rating;  // 1..10
    std::optional<std::string> cover, photo;
    bool present = true;  // JEST
    std::optional<std::string> aka, subtype, location, videoDvd, audioDvd, subtitles;
    std::optional<std::int32_t> ownIdCd;  // the disc number a Long JEST catalogue keeps at 37
    std::optional<std::int32_t> seriesId, season, episode;
    std::optional<std::string> seriesTitle, seriesTitlePolish, url;
};

// Usual films, or heavy ones (heavy_film.h): the same films, filled out.
enum class FilmShape { Usual, Heavy };

// The films of one catalogue in key order. Keys rise with occasional gaps
// left by deleted films, and films were added between 2002 and mid-2008.
class FilmMaker {
public:
    FilmMaker(std::uint64_t seed, int count, FilmShape shape = FilmShape::Usual);
    Film next();

    static int FirstDay();
    static int LastDay();  // the catalogue's "today"

private:
    RandomSource random_;
    RandomSource heavyRandom_;  // a stream of its own: the usual values stay as they are
    FilmShape shape_;
    std::vector<FilmTitle> series_;
    int count_;
    int made_ = 0;
    std::int32_t key_ = 0;
    std::int32_t disc_ = 1000;
};

}  // namespace sample
