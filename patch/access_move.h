#pragma once
// A catalogue in the Access format, moved into the catalogue format in the
// run: what the run learns of it before anything changes, its conversion into
// the run's private folder, and the one step in which the upgraded catalogue
// takes the file's name and the original is kept beside it.

#include <sys/stat.h>

#include <optional>
#include <string>

#include "db/TovaskADODB/file_descriptor.h"
#include "db/access/access_converter.h"
#include "db/access/conversion_folder.h"
#include "patch/films_level.h"

namespace patch {

struct AccessCatalogue {
    std::optional<std::string> films;  // the films table's stored name, when there is one
    FilmsLevel level{};                // of that table
    bool hasLoans = false;
};

// Reads the tables and the films table's fields; the file is not changed.
// accessdb::EAccessRefused for a file that cannot be read or carried.
AccessCatalogue ReadAccessCatalogue(const std::string& path);

// The name the Access original is kept under: not picked up as a catalogue,
// and saying what it is.
std::string KeptOriginalName(const std::string& fileName);
// Why a file whose kept name would be too long for the file system is refused.
std::string KeptNameTooLongCause();

class AccessMove {
public:
    // folder ends in a path separator. Refuses (accessdb::ETargetExists) when
    // the kept name is taken, before anything is made; by a catalogue file,
    // that is judged once the new catalogue is made (see PutInPlace).
    AccessMove(const std::string& folder, const std::string& fileName);

    // Carries the Access file into the private folder; gives the new
    // catalogue's path there.
    const std::string& Convert(const accessdb::ConversionHooks& hooks);

    // The catalogue at the converted path, upgraded and closed, takes the
    // file's name and the original takes the kept name, in one step. Refused,
    // with the file as it was, when the original changed since it was
    // converted or the kept name was taken meanwhile. A catalogue under the
    // kept name that holds exactly the bytes made now is what a run cut short
    // between its two steps left there: it gives way, as nothing is lost.
    void PutInPlace();

    const std::string& KeptName() const { return keptName_; }

private:
    void CheckOriginalUnchanged() const;
    void SetLeftoverAside();

    std::string path_;
    std::string fileName_;
    std::string keptName_;
    TovaskADODB::FileDescriptor folder_;
    struct stat original_ {};
    std::optional<accessdb::ConversionFolder> private_;
    std::string converted_;
    bool keptNameHeldByCatalogue_ = false;
};

}  // namespace patch
