#pragma once
// Why a catalogue file could not be opened, upgraded or compacted, told in
// Polish so that the user can act on it. The window shows only its fixed
// messages; the command-line runner adds these causes after them.

#include <exception>
#include <string>

#include "db/TovaskADODB/database_error.h"
#include "db/engine/engine_error.h"

namespace patch {

// A fault of the catalogue's own structure; the message is the cause as the user reads it.
class StructureError : public TovaskADODB::EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

// The cause of error, met on the catalogue at path: the reason first, in Polish;
// an engine message follows in parentheses only where no plain reason is known.
std::string FailureCause(const std::exception& error, const std::string& path);

// A file of the older platform's own database format (Access/Jet or ACE).
bool IsJetDatabase(const std::string& path);

// True when SQLite's journal beside the file ("<name>-journal") would have a
// name too long for the file system, so that no change can be made to the file.
bool JournalNameTooLong(const std::string& path);

// A field another tool added, with data in it, that the upgrade would not carry over.
std::string UncarriedFieldCause(const std::string& table, const std::string& field);
// A view or trigger of another tool that would stop working with the new structure.
std::string BrokenViewCause(const engine::ViewOrTriggerBroken& broken);

// What the user is told about such a file.
extern const char* const kJetDatabaseCause;
std::string NameTooLongCause();

}  // namespace patch
