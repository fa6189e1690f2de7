#pragma once
// The tables of a catalogue at each level: fields in stored order, their
// properties, their indexes, and which part of a record fills each field.

#include <optional>
#include <string>

#include "tools/sample/field_definition.h"
#include "tools/sample/level.h"

namespace sample {

enum class FilmSource {
    Key,
    OriginalTitle,
    PolishTitle,
    Genres,
    Year,
    Countries,
    Director,
    Writer,
    Cinematography,
    Actors,
    Music,
    Discs,
    Size,
    VideoCodec,
    Resolution,
    Fps,
    Duration,
    VideoBitrate,
    AudioCodec,
    SampleRate,
    AudioBitrate,
    Channels,
    Remarks,
    Translator,
    Description,
    Added,
    Watched,
    RatingNumber,
    RatingText,
    Cover,
    Photo,
    PresentYesNo,
    PresentLong,
    Aka,
    Subtype,
    Location,
    VideoDvd,
    AudioDvd,
    Subtitles,
    OwnIdCd,
    KeyAsIdCd,
    SeriesId,
    SeriesTitle,
    SeriesTitlePolish,
    Season,
    Episode,
    Url,
};
enum class LoanSource { FilmKey, PersonKey, LentOn, ReturnedOn, Deleted, FilmOwnIdCd, FilmKeyAsIdCd };
enum class PersonSource { Key, FirstName, Surname, Phone };
enum class AlbumSource { Key, Artist, Title, Year, Genre, Medium, Remarks };

using FilmsTable = TableDefinition<FilmSource>;
using LoansTable = TableDefinition<LoanSource>;
using PeopleTable = TableDefinition<PersonSource>;
using AlbumsTable = TableDefinition<AlbumSource>;

struct TableNames {
    std::string films = "FILMY";
    std::string loans = "WYPOZYCZ";
};

struct CatalogueStructure {
    std::optional<FilmsTable> films;
    std::optional<LoansTable> loans;
    PeopleTable people;
    std::optional<AlbumsTable> albums;  // only in the database that is no catalogue
};

CatalogueStructure StructureOf(Level level, const TableNames& names = {});

}  // namespace sample
