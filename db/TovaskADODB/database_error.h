#pragma once
#include <stdexcept>
#include <string>

namespace TovaskADODB {

// The components' own failures; the data-access layer's errors pass through as they are.
class EDatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The compacted copy did replace the file, but its folder could not be synced:
// a power cut may still bring back the file as it was before the compaction.
class EFolderNotSynced : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

// Raises message, prefixed with "<componentName>: " when raised on behalf of a named component.
[[noreturn]] void DatabaseError(const std::string& message, const std::string& componentName = {});
// Raises the lists' own "List index out of bounds (n)".
[[noreturn]] void ListIndexError(int position);

}  // namespace TovaskADODB
