#pragma once
// Makes sample catalogue files: at a chosen level, with N films and M loans of
// Polish data drawn from a seed. The same seed and options always give a file
// of the same bytes.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <vector>

#include "tools/sample/catalogue_structures.h"
#include "tools/sample/film_record.h"
#include "tools/sample/level.h"

namespace sample {

// A request the generator refuses: an existing file without overwrite, or options out of range.
class SampleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An SQLite file in the catalogue format, or an Access (Jet 4) database as
// the original program wrote them.
enum class FileFormat { Sqlite, Access };

struct SampleOptions {
    Level level = Level::ReadyYesNo;
    int films = 200;            // also the albums of the database without films
    int loans = 50;             // ignored at the levels without a loans table
    std::optional<int> people;  // default: one for about every ten loans, 5 to 1000
    std::uint64_t seed = 1;
    FilmShape shape = FilmShape::Usual;
    TableNames tableNames;
    bool fieldProperties = true;  // write MSysFields and MSysIndexes (SQLite files)
    FileFormat format = FileFormat::Sqlite;
    bool overwrite = false;
};

struct SampleSummary {
    int films = 0;
    int loans = 0;
    int people = 0;
    int albums = 0;
};

int PeopleCount(const SampleOptions& options);

// Written to a temporary file beside the target and moved into place when
// complete, so a failure leaves no partial catalogue behind.
SampleSummary WriteSampleCatalogue(const std::filesystem::path& file, const SampleOptions& options);

// One file of each level, named "<level>.mdb", in folder (created if missing);
// options.level is ignored. Returns the files in level order.
std::vector<std::filesystem::path> WriteEveryLevel(const std::filesystem::path& folder, const SampleOptions& options);

}  // namespace sample
