#pragma once
// A recording host that lists the folder with the program's own ListFiles, so
// that the listing rules (directories, links, pipes, letter case) take part.

#include <string>

#include "tests/support/recording_host.h"

namespace hostile_test {

class ListingHost : public patch_test::RecordingHost {
public:
    using RecordingHost::RecordingHost;
    std::string ListFiles(const std::string& folder, const std::string& mask) override;

    // The outcome of the file listed under name; fails the test when not listed.
    patch::FileOutcome OutcomeOf(const std::string& name) const;
    bool Listed(const std::string& name) const;
};

// SQLite's view of the films table: true when it has the upgraded structure.
bool FilmsUpgraded(const std::string& path);
int RowCount(const std::string& path, const std::string& table);

}  // namespace hostile_test
