#include "tools/sample/record_values.h"

namespace sample {

namespace {

Value text(const std::optional<std::string>& value)
{
    return value ? Value(*value) : Value();
}
Value integer(const std::optional<std::int32_t>& value)
{
    return value ? Value(std::int64_t{*value}) : Value();
}
Value yesNo(bool value)
{
    return std::int64_t{value ? 1 : 0};
}

}  // namespace

Value ValueOf(const Film& film, FilmSource source)
{
    using F = FilmSource;
    switch (source) {
    case F::Key: return std::int64_t{film.key};
    case F::OriginalTitle: return film.originalTitle;
    case F::PolishTitle: return film.polishTitle;
    case F::Genres: return film.genres;
    case F::Year: return integer(film.year);
    case F::Countries: return film.countries;
    case F::Director: return text(film.director);
    case F::Writer: return text(film.writer);
    case F::Cinematography: return text(film.cinematography);
    case F::Actors: return text(film.actors);
    case F::Music: return text(film.music);
    case F::Discs: return integer(film.discs);
    case F::Size: return text(film.size);
    case F::VideoCodec: return text(film.videoCodec);
    case F::Resolution: return text(film.resolution);
    case F::Fps: return text(film.fps);
    case F::Duration: return text(film.duration);
    case F::VideoBitrate: return text(film.videoBitrate);
    case F::AudioCodec: return text(film.audioCodec);
    case F::SampleRate: return text(film.sampleRate);
    case F::AudioBitrate: return text(film.audioBitrate);
    case F::Channels: return text(film.channels);
    case F::Remarks: return text(film.remarks);
    case F::Translator: return text(film.translator);
    case F::Description: return text(film.description);
    case F::Added: return film.added;
    case F::Watched: return yesNo(film.watched);
    case F::RatingNumber: return integer(film.rating);
    case F::RatingText: return film.rating ? Value(std::to_string(*film.rating)) : Value();
    case F::Cover: return text(film.cover);
    case F::Photo: return text(film.photo);
    case F::PresentYesNo: return yesNo(film.present);
    // What the upgrade makes of a Yes/No JEST: Yes becomes 0, No becomes 1.
    case F::PresentLong: return std::int64_t{film.present ? 0 : 1};
    case F::Aka: return text(film.aka);
    case F::Subtype: return text(film.subtype);
    case F::Location: return text(film.location);
    case F::VideoDvd: return text(film.videoDvd);
    case F::AudioDvd: return text(film.audioDvd);
    case F::Subtitles: return text(film.subtitles);
    case F::OwnIdCd: return integer(film.ownIdCd);
    case F::KeyAsIdCd: return std::int64_t{film.key};
    case F::SeriesId: return integer(film.seriesId);
    case F::SeriesTitle: return text(film.seriesTitle);
    case F::SeriesTitlePolish: return text(film.seriesTitlePolish);
    case F::Season: return integer(film.season);
    case F::Episode: return integer(film.episode);
    case F::Url: return text(film.url);
    }
    return {};
}

Value ValueOf(const Loan& loan, LoanSource source)
{
    switch (source) {
    case LoanSource::FilmKey: return std::int64_t{loan.filmKey};
    case LoanSource::PersonKey: return std::int64_t{loan.personKey};
    case LoanSource::LentOn: return loan.lentOn;
    case LoanSource::ReturnedOn: return text(loan.returnedOn);
    case LoanSource::Deleted: return yesNo(loan.deleted);
    case LoanSource::FilmOwnIdCd: return integer(loan.filmOwnIdCd);
    case LoanSource::FilmKeyAsIdCd: return std::int64_t{loan.filmKey};
    }
    return {};
}

Value ValueOf(const Person& person, PersonSource source)
{
    switch (source) {
    case PersonSource::Key: return std::int64_t{person.key};
    case PersonSource::FirstName: return person.firstName;
    case PersonSource::Surname: return person.surname;
    case PersonSource::Phone: return text(person.phone);
    }
    return {};
}

Value ValueOf(const Album& album, AlbumSource source)
{
    switch (source) {
    case AlbumSource::Key: return std::int64_t{album.key};
    case AlbumSource::Artist: return album.artist;
    case AlbumSource::Title: return album.title;
    case AlbumSource::Year: return integer(album.year);
    case AlbumSource::Genre: return album.genre;
    case AlbumSource::Medium: return album.medium;
    case AlbumSource::Remarks: return text(album.remarks);
    }
    return {};
}

}  // namespace sample
