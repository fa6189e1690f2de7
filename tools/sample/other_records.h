#pragma once
// The catalogue's other rows: loans of films to people, the people, and the
// albums of the music collection that stands in for a database of another kind.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "tools/sample/random_source.h"

namespace sample {

// What a loan needs to know of a film already written.
struct FilmReference {
    std::int32_t key;
    int dayAdded;
    std::optional<std::int32_t> ownIdCd;
};

struct Loan {
    std::int32_t filmKey;
    std::int32_t personKey;
    std::string lentOn;                     // DATA_W
    std::optional<std::string> returnedOn;  // DATA_Z: later than DATA_W, or null while lent
    bool deleted;                           // KASUJ
    std::optional<std::int32_t> filmOwnIdCd;
};

// films must not be empty; people are keyed 1..peopleCount.
Loan MakeLoan(RandomSource& random, std::span<const FilmReference> films, int peopleCount);

struct Person {
    std::int32_t key;
    std::string firstName, surname;
    std::optional<std::string> phone;
};

Person MakePerson(RandomSource& random, std::int32_t key);

struct Album {
    std::int32_t key;
    std::string artist, title;
    std::optional<std::int32_t> year;
    std::string genre, medium;
    std::optional<std::string> remarks;
};

Album MakeAlbum(RandomSource& random, std::int32_t key);

}  // namespace sample
