#include "tools/sample/film_record.h"

#include <algorithm>
#include <cstdio>

#include "tools/sample/calendar.h"
#include "tools/sample/film_description.h"
#include "tools/sample/heavy_film.h"
#include "tools/sample/person_names.h"
#include "tools/sample/utf8_text.h"
#include "tools/sample/word_pools.h"

namespace sample {

namespace {

constexpr int seriesCount = 12;

const Country& pickCountry(RandomSource& random)
{
    int roll = static_cast<int>(random.below(1000));
    for (const Country& country : Countries()) {
        if (roll < country.weight) return country;
        roll -= country.weight;
    }
    return Countries().front();
}

std::vector<std::string> distinctPicks(RandomSource& random, std::span<const std::string_view> pool, int count)
{
    std::vector<std::string_view> order(pool.begin(), pool.end());
    const auto wanted = std::min<std::size_t>(static_cast<std::size_t>(count), order.size());
    std::vector<std::string> picks;
    for (std::size_t i = 0; i < wanted; ++i) {
        std::swap(order[i], order[i + random.below(static_cast<std::uint32_t>(order.size() - i))]);
        picks.emplace_back(order[i]);
    }
    return picks;
}

// Thousands separated by a space, as Polish writes them.
std::string grouped(int number)
{
    const std::string digits = std::to_string(number);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ' ';
        text += digits[i];
    }
    return text;
}

std::string kbps(int rate)
{
    return grouped(rate) + " kb/s";
}

std::string_view pickOf(RandomSource& random, std::initializer_list<std::string_view> choices)
{
    return *(choices.begin() + random.below(static_cast<std::uint32_t>(choices.size())));
}

std::optional<std::string> names(RandomSource& random, Language language, int count, unsigned womenPercent,
                                 std::size_t maxChars)
{
    const auto list = MakeFullNames(random, language, count, womenPercent);
    return JoinWithin(list, ", ", maxChars);
}

std::string_view languageName(Language language)
{
    switch (language) {
    case Language::Polish: return "Polski";
    case Language::French: return "Francuski";
    case Language::German: return "Niemiecki";
    case Language::Italian: return "Włoski";
    case Language::English: break;
    }
    return "Angielski";
}

void addDvdDetails(RandomSource& random, Film& film, Language language, int videoBitrate)
{
    film.videoDvd = std::string(random.percent(70) ? "PAL 16:9 anamorficzny" : "PAL 4:3") + ", 720x576\r\nMPEG-2, " +
                    kbps(videoBitrate);
    std::string audio = std::string(languageName(language)) + " Dolby Digital 5.1";
    if (language != Language::Polish && random.percent(70)) audio += "\r\nPolski Dolby Digital 2.0 (lektor)";
    for (const auto& other : distinctPicks(random, DvdLanguages(), static_cast<int>(random.below(3))))
        if (audio.find(other) == std::string::npos) audio += "\r\n" + other + " Dolby Digital 5.1";
    film.audioDvd = audio;
    std::vector<std::string> languages{"Polskie"};
    for (auto& other : distinctPicks(random, SubtitleLanguages(), random.between(0, 5)))
        if (other != "Polskie") languages.push_back(std::move(other));
    film.subtitles = JoinWithin(languages, ", ", 1000);
}

void addMedium(RandomSource& random, Film& film, Language language)
{
    const auto roll = random.below(100);
    const std::string_view subtype = roll < 35   ? "DivX"
                                     : roll < 60 ? "XviD"
                                     : roll < 80 ? "DVD"
                                     : roll < 85 ? "VCD"
                                     : roll < 90 ? "SVCD"
                                     : roll < 95 ? "VHS"
                                                 : "";
    if (!subtype.empty()) film.subtype = std::string(subtype);
    if (subtype == "DivX" || subtype == "XviD") {
        const int discs = random.percent(70) ? 1 : random.percent(93) ? 2 : 3;
        film.discs = discs;
        film.size = grouped(discs * random.between(650, 702)) + " MB";
        film.videoCodec = std::string(subtype == "DivX" ? pickOf(random, {"DivX 3.11 Low-Motion", "DivX 4.12",
                                                                          "DivX 5.0.2", "DivX 5.2.1", "DivX 6.0"})
                                                        : pickOf(random, {"XviD 0.9.2", "XviD 1.0.3", "XviD 1.1.0"}));
        film.resolution =
            std::string(pickOf(random, {"640x272", "640x352", "576x320", "512x288", "720x304", "640x480"}));
        film.fps = std::string(pickOf(random, {"23,976", "25,000", "29,970"}));
        film.videoBitrate = kbps(random.between(70, 140) * 10);
        film.audioCodec = std::string(pickOf(random, {"MPEG Layer-3", "AC3", "MPEG Layer-3 VBR"}));
        film.sampleRate = std::string(pickOf(random, {"48000 Hz", "44100 Hz"}));
        film.audioBitrate =
            std::string(pickOf(random, {"96 kb/s", "112 kb/s", "128 kb/s", "192 kb/s", "384 kb/s", "448 kb/s"}));
        film.channels = std::string(pickOf(random, {"2 (stereo)", "1 (mono)", "6 (5.1)"}));
    } else if (subtype == "DVD") {
        const int videoBitrate = random.between(45, 85) * 100;
        film.discs = random.percent(85) ? 1 : 2;
        film.size = std::string(random.percent(60) ? "4,37 GB" : "7,95 GB");
        film.videoCodec = "MPEG-2";
        film.resolution = "720x576";
        film.fps = "25,000";
        film.videoBitrate = kbps(videoBitrate);
        const bool dts = random.percent(20);
        film.audioCodec = dts ? "DTS" : "Dolby Digital";
        film.sampleRate = "48000 Hz";
        film.audioBitrate = dts ? "768 kb/s" : std::string(pickOf(random, {"384 kb/s", "448 kb/s"}));
        film.channels = "6 (5.1)";
        addDvdDetails(random, film, language, videoBitrate);
    } else if (subtype == "VCD" || subtype == "SVCD") {
        const bool super = subtype == "SVCD";
        const int discs = super ? random.between(2, 3) : 2;
        film.discs = discs;
        film.size = grouped(discs * random.between(700, 800)) + " MB";
        film.videoCodec = super ? "MPEG-2" : "MPEG-1";
        film.resolution = super ? "480x576" : "352x288";
        film.fps = "25,000";
        film.videoBitrate = kbps(super ? random.between(20, 25) * 100 : 1150);
        film.audioCodec = "MPEG Layer-2";
        film.sampleRate = "44100 Hz";
        film.audioBitrate = "224 kb/s";
        film.channels = "2 (stereo)";
    } else {
        film.discs = 1;  // one cassette, or not known
    }
}

std::string durationText(int seconds)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::optional<std::int32_t> productionYear(RandomSource& random, int yearAdded)
{
    if (random.percent(1)) return std::nullopt;
    const auto roll = random.below(10);
    if (roll < 6) return random.between(yearAdded - 3, yearAdded);
    if (roll < 9) return random.between(1980, yearAdded);
    return random.between(1930, 1979);
}

}  // namespace

FilmMaker::FilmMaker(std::uint64_t seed, int count, FilmShape shape)
    : random_(seed, 1), heavyRandom_(seed, 6), shape_(shape), count_(count)
{
    RandomSource seriesRandom(seed, 4);
    for (int i = 0; i < seriesCount; ++i) series_.push_back(MakeFilmTitle(seriesRandom, Language::English));
}

int FilmMaker::FirstDay()
{
    return DayNumber({2002, 1, 1});
}
int FilmMaker::LastDay()
{
    return DayNumber({2008, 6, 30});
}

Film FilmMaker::next()
{
    RandomSource& random = random_;
    Film film;
    key_ += random.percent(5) ? random.between(2, 6) : 1;
    film.key = key_;

    const int span = LastDay() - FirstDay();
    const int base = FirstDay() + static_cast<int>(static_cast<std::int64_t>(made_) * span / std::max(count_, 1));
    ++made_;
    film.dayAdded = std::min(LastDay(), base + random.between(0, 3));
    film.added = DateTimeText(film.dayAdded, random.between(16 * 3600, 86399));

    const Country& country = pickCountry(random);
    const Language language = country.language;
    film.countries = std::string(country.name);
    if (random.percent(15)) {
        const Country& partner = pickCountry(random);
        if (partner.name != country.name) film.countries += ", " + std::string(partner.name);
    }
    FilmTitle title = MakeFilmTitle(random, language);
    film.originalTitle = std::move(title.original);
    film.polishTitle = std::move(title.polish);
    film.genres = JoinWithin(distinctPicks(random, Genres(), random.between(1, 3)), ", ", 100);
    film.year = productionYear(random, DateOfDay(film.dayAdded).year);

    film.director = names(random, language, random.percent(10) ? 2 : 1, 20, 254);
    film.writer = names(random, language, random.between(1, 2), 30, 254);
    if (random.percent(5)) film.writer.reset();
    film.cinematography = names(random, language, 1, 15, 254);
    if (random.percent(10)) film.cinematography.reset();
    film.music = names(random, language, 1, 15, 254);
    if (random.percent(12)) film.music.reset();
    if (!random.percent(8))
        film.actors = JoinWithin(MakeFullNames(random, language, random.between(4, 12)), ", ", 100000);

    addMedium(random, film, language);
    if (!random.percent(5)) film.duration = durationText(random.between(75 * 60, 190 * 60));
    if (random.percent(35)) film.remarks = std::string(random.pick(Remarks()));
    if (language != Language::Polish && random.percent(50))
        film.translator = MakePersonName(random, Language::Polish).full();
    if (!random.percent(8)) film.description = MakeDescription(random, language);

    film.watched = random.percent(70);
    if (!random.percent(25)) film.rating = random.percent(80) ? random.between(3, 10) : random.between(1, 10);
    if (!random.percent(10)) film.cover = random.percent(60) ? "Tak" : "Nie";
    if (random.percent(40)) {
        char name[40];
        std::snprintf(name, sizeof name, "%06d.jpg", static_cast<int>(film.key));
        film.photo = std::string("C:\\Filmy\\Okładki\\") + name;
    }
    film.present = random.percent(92);
    if (random.percent(25)) {
        const FilmTitle other = MakeFilmTitle(random, language);
        film.aka = other.original;
        if (other.polish != other.original && random.percent(50)) *film.aka += "\r\n" + other.polish;
    }
    if (random.percent(60)) film.location = std::string(random.pick(Locations()));

    const std::int32_t disc = disc_;
    disc_ += film.discs.value_or(1);
    const auto idCdRoll = random.below(10);
    if (idCdRoll >= 2)
        film.ownIdCd = disc;
    else if (idCdRoll == 1)
        film.ownIdCd = 0;

    if (random.percent(6)) {
        const auto series = random.below(seriesCount);
        film.seriesId = static_cast<std::int32_t>(series) + 1;
        film.seriesTitle = series_[series].original;
        film.seriesTitlePolish = series_[series].polish;
        film.season = random.between(1, 6);
        film.episode = random.between(1, 24);
    }
    if (random.percent(30)) {
        char url[64];
        std::snprintf(url, sizeof url, "http://www.imdb.com/title/tt%07d/", random.between(1, 999999));
        film.url = url;
    }
    if (shape_ == FilmShape::Heavy) MakeHeavy(heavyRandom_, film, language);
    return film;
}

}  // namespace sample
