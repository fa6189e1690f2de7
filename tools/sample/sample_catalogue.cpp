#include "tools/sample/sample_catalogue.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>

#include "tools/sample/access_catalogue.h"
#include "tools/sample/film_record.h"
#include "tools/sample/other_records.h"
#include "tools/sample/record_values.h"
#include "tools/sample/sqlite_file.h"
#include "tools/sample/table_writer.h"

namespace sample {

namespace {

namespace fs = std::filesystem;

constexpr int maxRows = 10'000'000;

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && startsWithIgnoringCase(a, b);
}

void checkTableName(const std::string& name)
{
    if (name.empty() || name.size() > 64 || name.find_first_of(".\"") != std::string::npos ||
        startsWithIgnoringCase(name, "MSys") || startsWithIgnoringCase(name, "sqlite_"))
        throw SampleError("unusable table name: \"" + name + "\"");
    for (std::string_view other : {"OSOBY", "PLYTY"})
        if (sameIgnoringCase(name, other)) throw SampleError("table name " + name + " is taken by another table");
}

void checkOptions(const SampleOptions& options, const CatalogueStructure& structure)
{
    if (options.films < 0 || options.films > maxRows) throw SampleError("films must be 0 to 10000000");
    if (options.loans < 0 || options.loans > maxRows) throw SampleError("loans must be 0 to 10000000");
    if (options.people && (*options.people < 1 || *options.people > 1'000'000))
        throw SampleError("people must be 1 to 1000000");
    if (structure.films) checkTableName(options.tableNames.films);
    if (structure.loans) {
        checkTableName(options.tableNames.loans);
        if (sameIgnoringCase(options.tableNames.films, options.tableNames.loans))
            throw SampleError("the films and the loans table need different names");
        if (options.loans > 0 && options.films == 0) throw SampleError("loans need at least one film");
    }
}

// Writes the tables of a catalogue as an SQLite file in the catalogue format.
class SqliteSink {
public:
    SqliteSink(SqliteFile& file, bool fieldProperties) : file_(file), fieldProperties_(fieldProperties)
    {
        if (fieldProperties_) CreatePropertyTables(file_);
    }

    template <class Source>
    void begin(const TableDefinition<Source>& table)
    {
        writer_.emplace(file_, table.name, table.fields());
    }
    void insert(const std::vector<Value>& values) { writer_->insert(values); }
    template <class Source>
    void end(const TableDefinition<Source>& table)
    {
        writer_.reset();
        CreateIndexes(file_, table.name, table.indexes);
        if (fieldProperties_) RecordProperties(file_, table.name, table.fields(), table.indexes);
    }

private:
    SqliteFile& file_;
    bool fieldProperties_;
    std::optional<TableWriter> writer_;
};

template <class Sink, class Source, class Record>
void insertRecord(Sink& sink, const TableDefinition<Source>& table, const Record& record, std::vector<Value>& values)
{
    values.clear();
    for (const auto& column : table.columns) values.push_back(ValueOf(record, column.source));
    sink.insert(values);
}

// The same tables in the same order from the same random streams, whatever
// the sink writes them as.
template <class Sink>
SampleSummary writeTables(Sink& sink, const SampleOptions& options, const CatalogueStructure& structure)
{
    SampleSummary summary;
    std::vector<Value> values;

    summary.people = PeopleCount(options);
    sink.begin(structure.people);
    {
        RandomSource random(options.seed, 3);
        for (int key = 1; key <= summary.people; ++key)
            insertRecord(sink, structure.people, MakePerson(random, key), values);
    }
    sink.end(structure.people);

    if (structure.albums) {
        sink.begin(*structure.albums);
        RandomSource random(options.seed, 5);
        for (int key = 1; key <= options.films; ++key)
            insertRecord(sink, *structure.albums, MakeAlbum(random, key), values);
        summary.albums = options.films;
        sink.end(*structure.albums);
    }

    std::vector<FilmReference> films;
    if (structure.films) {
        sink.begin(*structure.films);
        FilmMaker maker(options.seed, options.films, options.shape);
        films.reserve(static_cast<std::size_t>(options.films));
        for (int i = 0; i < options.films; ++i) {
            const Film film = maker.next();
            insertRecord(sink, *structure.films, film, values);
            films.push_back({film.key, film.dayAdded, film.ownIdCd});
        }
        summary.films = options.films;
        sink.end(*structure.films);
    }

    if (structure.loans) {
        sink.begin(*structure.loans);
        RandomSource random(options.seed, 2);
        for (int i = 0; i < options.loans; ++i)
            insertRecord(sink, *structure.loans, MakeLoan(random, films, summary.people), values);
        summary.loans = options.loans;
        sink.end(*structure.loans);
    }
    return summary;
}

fs::path temporaryBeside(const fs::path& file)
{
    static std::atomic<unsigned> counter{0};
    for (;;) {
        fs::path candidate = file;
        std::string name = ".";
        name += file.filename().string();
        for (const std::string& part : {std::to_string(::getpid()), std::to_string(counter++)}) {
            name += '.';
            name += part;
        }
        name += ".tmp";
        candidate.replace_filename(name);
        if (!fs::exists(candidate)) return candidate;
    }
}

void removeQuietly(const fs::path& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

// Without overwrite, link() refuses an existing target, even one that
// appeared while the catalogue was being written.
void moveIntoPlace(const fs::path& temporary, const fs::path& file, bool overwrite)
{
    if (overwrite) {
        fs::rename(temporary, file);
        return;
    }
    if (::link(temporary.c_str(), file.c_str()) == 0) {
        removeQuietly(temporary);
        return;
    }
    const int error = errno;
    const bool noHardLinks = error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
    if (error == EEXIST || (noHardLinks && fs::exists(file)))
        throw SampleError(file.string() + " already exists (--force replaces it)");
    if (!noHardLinks) throw SampleError("cannot create " + file.string() + ": " + std::strerror(error));
    fs::rename(temporary, file);
}

}  // namespace

int PeopleCount(const SampleOptions& options)
{
    return options.people ? *options.people : std::clamp(options.loans / 10, 5, 1000);
}

SampleSummary WriteSampleCatalogue(const fs::path& file, const SampleOptions& options)
{
    const CatalogueStructure structure = StructureOf(options.level, options.tableNames);
    checkOptions(options, structure);
    if (fs::is_directory(file)) throw SampleError(file.string() + " is a folder");
    if (file.has_parent_path() && !fs::is_directory(file.parent_path()))
        throw SampleError("no folder " + file.parent_path().string());
    if (!options.overwrite && fs::exists(file))
        throw SampleError(file.string() + " already exists (--force replaces it)");

    const fs::path temporary = temporaryBeside(file);
    fs::path journal = temporary;
    journal += "-journal";
    try {
        SampleSummary summary;
        if (options.format == FileFormat::Access) {
            AccessSink sink(temporary);
            summary = writeTables(sink, options, structure);
            sink.finish();
        } else {
            SqliteFile db(temporary.string());
            db.exec("PRAGMA journal_mode = DELETE");
            db.exec("PRAGMA cache_size = -65536");
            db.exec("BEGIN");
            SqliteSink sink(db, options.fieldProperties);
            summary = writeTables(sink, options, structure);
            db.exec("COMMIT");
            db.close();
        }
        moveIntoPlace(temporary, file, options.overwrite);
        return summary;
    } catch (...) {
        removeQuietly(temporary);
        removeQuietly(journal);
        throw;
    }
}

std::vector<fs::path> WriteEveryLevel(const fs::path& folder, const SampleOptions& options)
{
    std::vector<fs::path> files;
    for (Level level : AllLevels()) files.push_back(folder / (std::string(LevelName(level)) + ".mdb"));
    // All or nothing refused: no half-made demo folder.
    if (!options.overwrite)
        for (const auto& file : files)
            if (fs::exists(file)) throw SampleError(file.string() + " already exists (--force replaces it)");
    fs::create_directories(folder);
    for (std::size_t i = 0; i < files.size(); ++i) {
        SampleOptions one = options;
        one.level = AllLevels()[i];
        WriteSampleCatalogue(files[i], one);
    }
    return files;
}

}  // namespace sample
