#include "tools/sample/other_records.h"

#include <cstdio>
#include <stdexcept>

#include "tools/sample/calendar.h"
#include "tools/sample/film_record.h"
#include "tools/sample/film_title.h"
#include "tools/sample/person_names.h"
#include "tools/sample/word_pools.h"

namespace sample {

Loan MakeLoan(RandomSource& random, std::span<const FilmReference> films, int peopleCount)
{
    if (films.empty() || peopleCount < 1) throw std::invalid_argument("a loan needs a film and a person");
    const FilmReference& film = random.pick(films);
    Loan loan;
    loan.filmKey = film.key;
    loan.personKey = random.between(1, peopleCount);
    const int lastDay = FilmMaker::LastDay();
    // Lent after the film was added, and early enough to have been returned.
    const int lentDay = film.dayAdded + 1 < lastDay ? random.between(film.dayAdded + 1, lastDay - 1) : film.dayAdded;
    loan.lentOn = DateTimeText(lentDay);
    const int returnedDay = lentDay + random.between(1, 45);
    if (random.percent(80) && returnedDay <= lastDay) loan.returnedOn = DateTimeText(returnedDay);
    loan.deleted = random.percent(4);
    loan.filmOwnIdCd = film.ownIdCd;
    return loan;
}

Person MakePerson(RandomSource& random, std::int32_t key)
{
    const PersonName name = MakePersonName(random, Language::Polish);
    Person person{key, name.first, name.surname, std::nullopt};
    if (random.percent(70)) {
        char phone[24];
        if (random.percent(60))
            std::snprintf(phone, sizeof phone, "%d %03d %03d", random.between(500, 799), random.between(0, 999),
                          random.between(0, 999));
        else
            std::snprintf(phone, sizeof phone, "(%02d) %03d %02d %02d", random.between(12, 95),
                          random.between(100, 999), random.between(0, 99), random.between(0, 99));
        person.phone = phone;
    }
    return person;
}

Album MakeAlbum(RandomSource& random, std::int32_t key)
{
    const Language language = random.percent(60) ? Language::Polish : Language::English;
    Album album;
    album.key = key;
    album.artist = MakePersonName(random, language, 40).full();
    const FilmTitle title = MakeFilmTitle(random, language);
    album.title = title.original;
    if (!random.percent(5)) album.year = random.between(1960, 2008);
    album.genre = std::string(random.pick(MusicGenres()));
    album.medium = std::string(random.pick(MusicMedia()));
    if (random.percent(20)) album.remarks = std::string(random.pick(Remarks()));
    return album;
}

}  // namespace sample
