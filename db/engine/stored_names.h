#pragma once
// The stored names of a catalogue's tables: the two the upgrade treats and the
// engine's own, which other programs must leave alone.

namespace engine::stored {

// Looked up with letter case ignored; the catalogue's own form is used after.
inline constexpr const char* filmsTable = "FILMY";
inline constexpr const char* loansTable = "WYPOZYCZ";
// The loans table as the window's design names it before a run sets a table.
inline constexpr const char* designLoansTable = "Wypozycz";

// Every name beginning so (any case) is the engine's own.
inline constexpr const char* systemPrefix = "MSys";
inline constexpr const char* fieldsTable = "MSysFields";     // Required and AllowZeroLength of each field
inline constexpr const char* indexesTable = "MSysIndexes";   // indexes made through the engine
inline constexpr const char* deletedPrefix = "MSysDeleted";  // a table being replaced, numbered
inline constexpr const char* asidePrefix = "MSysAside";      // rows set aside for a rebuild, numbered

}  // namespace engine::stored
