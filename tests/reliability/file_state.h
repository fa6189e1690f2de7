#pragma once
// What a catalogue file holds after an interrupted or failed run, as the next
// user of the file sees it.

#include <filesystem>
#include <map>
#include <string>

namespace reliability {

// Opens the file as the next program start would, so that SQLite rolls back a
// hot journal (a read-only connection would refuse to).
void RollBackHotJournal(const std::string& path);

// RollBackHotJournal, then every table's definition and rows.
std::string RecoveredContent(const std::string& path);

// Whether bytes begin as an Access (Jet 4) file does.
bool HasJetHeader(const std::string& bytes);

// RecoveredContent of a catalogue; of a file in the Access format, its bytes
// after kAccessMark.
std::string CatalogueContent(const std::string& path);
inline constexpr const char* kAccessMark = "Access:";

// The CatalogueContent of every *.mdb file of a folder, by file name.
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder);

// Copies every regular file of from into to (which must exist).
void CopyFolderFiles(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace reliability
