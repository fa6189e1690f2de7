#include "tools/sample/catalogue_structures.h"

namespace sample {

namespace {

using K = FieldKind;
using F = FilmSource;

struct FieldRow {
    const char* name;
    FieldKind kind;
    int size;
    FilmSource source;
};

// The films table after this upgrade, in stored order.
constexpr FieldRow targetFilms[] = {
    {"FILM_ID", K::Long, 0, F::Key},
    {"T_ORG", K::Text, 150, F::OriginalTitle},
    {"T_PL", K::Text, 150, F::PolishTitle},
    {"GATUNEK", K::Text, 100, F::Genres},
    {"ROK_PROD", K::Long, 0, F::Year},
    {"KRAJ", K::Text, 100, F::Countries},
    {"REZYSER", K::Text, 254, F::Director},
    {"SCENARIU", K::Text, 254, F::Writer},
    {"ZDJECIA", K::Text, 254, F::Cinematography},
    {"AKTORZY", K::Memo, 0, F::Actors},
    {"MUZYKA", K::Text, 254, F::Music},
    {"ILOSC_CD", K::Long, 0, F::Discs},
    {"ROZMIAR", K::Text, 254, F::Size},
    {"CVIDEO", K::Text, 150, F::VideoCodec},
    {"ROZDZIEL", K::Text, 20, F::Resolution},
    {"FPS", K::Text, 20, F::Fps},
    {"CZAS", K::Text, 10, F::Duration},
    {"VBITRATE", K::Text, 20, F::VideoBitrate},
    {"CAUDIO", K::Text, 150, F::AudioCodec},
    {"SAMPLE_R", K::Text, 20, F::SampleRate},
    {"ABITRATE", K::Text, 20, F::AudioBitrate},
    {"KANALY", K::Text, 50, F::Channels},
    {"UWAGI", K::Text, 254, F::Remarks},
    {"TLUMACZ", K::Text, 50, F::Translator},
    {"OPIS", K::Memo, 0, F::Description},
    {"DATA_DOD", K::DateTime, 0, F::Added},
    {"OBEJRZAN", K::YesNo, 0, F::Watched},
    {"OCENA", K::Text, 5, F::RatingText},
    {"OKLADKA", K::Text, 3, F::Cover},
    {"FOTO", K::Text, 255, F::Photo},
    {"JEST", K::Long, 0, F::PresentLong},
    {"AKA", K::Memo, 0, F::Aka},
    {"SUBTYPE", K::Text, 50, F::Subtype},
    {"LOCATION", K::Text, 100, F::Location},
    {"VideoDVD", K::Memo, 0, F::VideoDvd},
    {"AudioDVD", K::Memo, 0, F::AudioDvd},
    {"LangSubTitles", K::Memo, 0, F::Subtitles},
    {"ID_CD", K::Long, 0, F::KeyAsIdCd},
    {"SER_ID", K::Long, 0, F::SeriesId},
    {"T_ORG_S", K::Text, 150, F::SeriesTitle},
    {"T_PL_S", K::Text, 150, F::SeriesTitlePolish},
    {"SERIA", K::Long, 0, F::Season},
    {"ODCINEK", K::Long, 0, F::Episode},
    {"URL", K::Text, 250, F::Url},
};

constexpr std::size_t oldFieldCount = 37;

bool isTextual(FieldKind kind)
{
    return kind == K::Text || kind == K::Memo;
}

// Catalogues made by the old program kept the engine's default of no
// zero-length texts; the fields this upgrade adds allow them.
template <class Source>
Column<Source> column(const char* name, FieldKind kind, int size, Source source, bool textAllowsEmpty)
{
    return {{name, kind, size, false, textAllowsEmpty && isTextual(kind)}, source};
}

Column<FilmSource> filmColumn(const FieldRow& row, bool textAllowsEmpty)
{
    return column(row.name, row.kind, row.size, row.source, textAllowsEmpty);
}

std::vector<IndexDefinition> indexesOn(std::initializer_list<const char*> fields)
{
    std::vector<IndexDefinition> indexes;
    for (const char* field : fields) indexes.push_back({field, field, false});
    return indexes;
}

std::size_t oldFieldsAt(Level level)
{
    switch (level) {
    case Level::NoAka: return 31;
    case Level::NoSubtype: return 32;
    case Level::NoVideoDvd: return 34;
    default: return oldFieldCount;
    }
}

// The old structure: the target's first 37 fields with the old key ID_CD at 0,
// a numeric OCENA and a Yes/No JEST.
FilmsTable oldFilms(Level level, const std::string& name)
{
    FilmsTable table{name, {}, {}};
    for (std::size_t i = 0; i < oldFieldsAt(level); ++i) {
        const FieldRow& row = targetFilms[i];
        const std::string_view field = row.name;
        if (field == "FILM_ID")
            table.columns.push_back(column("ID_CD", K::Long, 0, F::Key, false));
        else if (field == "OCENA")
            table.columns.push_back(column("OCENA", K::Long, 0, F::RatingNumber, false));
        else if (field == "JEST")
            table.columns.push_back(column("JEST", K::YesNo, 0, F::PresentYesNo, false));
        else
            table.columns.push_back(filmColumn(row, false));
    }
    table.indexes = {{"PrimaryKey", "ID_CD", true},
                     {"T_ORG", "T_ORG", false},
                     {"T_PL", "T_PL", false},
                     {"GATUNEK", "GATUNEK", false}};
    return table;
}

// Already in the new order up to JEST, which is a Long, with the catalogue's
// own ID_CD after it; OCENA still numeric.
FilmsTable readyLongFilms(const std::string& name)
{
    FilmsTable table{name, {}, {}};
    for (std::size_t i = 0; i < oldFieldCount; ++i) {
        const FieldRow& row = targetFilms[i];
        if (std::string_view(row.name) == "OCENA")
            table.columns.push_back(column("OCENA", K::Long, 0, F::RatingNumber, true));
        else
            table.columns.push_back(filmColumn(row, true));
    }
    table.columns.push_back(column("ID_CD", K::Long, 0, F::OwnIdCd, true));
    table.indexes = {{"PrimaryKey", "FILM_ID", true},
                     {"T_ORG", "T_ORG", false},
                     {"T_PL", "T_PL", false},
                     {"GATUNEK", "GATUNEK", false},
                     {"ID_CD", "ID_CD", false}};
    return table;
}

FilmsTable targetFilmsTable(const std::string& name)
{
    FilmsTable table{name, {}, {}};
    for (const FieldRow& row : targetFilms) table.columns.push_back(filmColumn(row, true));
    table.indexes =
        indexesOn({"FILM_ID", "T_ORG", "T_PL", "GATUNEK", "ID_CD", "SER_ID", "T_ORG_S", "T_PL_S", "SERIA", "ODCINEK"});
    return table;
}

LoansTable loans(Level level, const std::string& name)
{
    using L = LoanSource;
    LoansTable table{
        name,
        {column("FILM_ID", K::Long, 0, L::FilmKey, false), column("ID_OSOBY", K::Long, 0, L::PersonKey, false),
         column("DATA_W", K::DateTime, 0, L::LentOn, false), column("DATA_Z", K::DateTime, 0, L::ReturnedOn, false),
         column("KASUJ", K::YesNo, 0, L::Deleted, false)},
        indexesOn({"FILM_ID", "ID_OSOBY", "DATA_W", "DATA_Z"})};
    if (level == Level::ReadyLong || level == Level::Upgraded) {
        table.columns.push_back(
            column("ID_CD", K::Long, 0, level == Level::ReadyLong ? L::FilmOwnIdCd : L::FilmKeyAsIdCd, false));
        table.indexes.push_back({"ID_CD", "ID_CD", false});
    }
    return table;
}

PeopleTable people()
{
    using P = PersonSource;
    return {"OSOBY",
            {column("ID_OSOBY", K::Long, 0, P::Key, true), column("IMIE", K::Text, 50, P::FirstName, true),
             column("NAZWISKO", K::Text, 50, P::Surname, true), column("TELEFON", K::Text, 20, P::Phone, true)},
            {{"PrimaryKey", "ID_OSOBY", true}, {"NAZWISKO", "NAZWISKO", false}}};
}

AlbumsTable albums()
{
    using A = AlbumSource;
    return {"PLYTY",
            {column("ID_PLYTY", K::Long, 0, A::Key, true), column("WYKONAWCA", K::Text, 100, A::Artist, true),
             column("TYTUL", K::Text, 150, A::Title, true), column("ROK", K::Long, 0, A::Year, true),
             column("GATUNEK", K::Text, 50, A::Genre, true), column("NOSNIK", K::Text, 20, A::Medium, true),
             column("UWAGI", K::Memo, 0, A::Remarks, true)},
            {{"PrimaryKey", "ID_PLYTY", true}, {"WYKONAWCA", "WYKONAWCA", false}}};
}

}  // namespace

CatalogueStructure StructureOf(Level level, const TableNames& names)
{
    CatalogueStructure structure{std::nullopt, std::nullopt, people(), std::nullopt};
    switch (level) {
    case Level::NoFilms: structure.albums = albums(); return structure;
    case Level::Upgraded: structure.films = targetFilmsTable(names.films); break;
    case Level::ReadyLong: structure.films = readyLongFilms(names.films); break;
    default: structure.films = oldFilms(level, names.films); break;
    }
    if (level != Level::NoLoans) structure.loans = loans(level, names.loans);
    return structure;
}

}  // namespace sample
