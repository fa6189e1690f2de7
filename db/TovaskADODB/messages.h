#pragma once
// The components' fixed messages, as the user and the callers know them.

namespace TovaskADODB::Messages {

inline constexpr const char* NoDaoFound = "Nie odnaleziono DAO w tym systemie!";
inline constexpr const char* NoDaoVersion = "You does not have Microsoft DAO installed ot it is an OLD Version!";
inline constexpr const char* BaseOpen = "Baza jest otwarta.";
inline constexpr const char* BaseNotOpen = "Baza nie jest otwarta.";
inline constexpr const char* BaseNotDefined = "Baza nie została zdefiniowana";
inline constexpr const char* TableNotNamed = "Tabela nie została określona.";
inline constexpr const char* TableOpen = "Tabela jest otwarta.";
inline constexpr const char* TableNotOpen = "Tabela nie jest otwarta.";
inline constexpr const char* CircularLink = "Wywołanie cykliczne!";
inline constexpr const char* DataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* DataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char* DataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr const char* MissingConnection = "Missing Connection or ConnectionString";
inline constexpr const char* IndexWithoutName = "Indeks nie ma ani nazwy, ani pól.";
inline constexpr const char* ColumnArraysMismatch = "Tablice opisu pól mają różne długości.";

}  // namespace TovaskADODB::Messages
