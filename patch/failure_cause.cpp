#include "patch/failure_cause.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "db/engine/engine_error.h"

namespace patch {

const char* const kJetDatabaseCause = "plik bazy Access/Jet, nie katalog w formacie SQLite tego programu";

namespace {

constexpr const char* kJournalSuffix = "-journal";

// opening: the error came from opening a file. Permissions, a missing file or a
// name too long are causes only there; after another call such an errno is
// left over from before.
std::optional<std::string> SystemCause(int error, bool opening)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return "brak miejsca na dysku";
    case EIO: return "błąd odczytu lub zapisu na dysku";
    default: break;
    }
    if (!opening) return std::nullopt;
    switch (error) {
    case EROFS: return "plik leży na nośniku tylko do odczytu";
    case EACCES:
    case EPERM: return "brak uprawnień do pliku lub jego folderu";
    case ENAMETOOLONG: return NameTooLongCause();
    case ENOENT: return "plik nie istnieje";
    default: return std::nullopt;
    }
}

std::optional<std::string> SqliteCause(int code, const std::string& path)
{
    // The engine refuses to commit piecemeal what SQLite rolled back after an error.
    if (code == SQLITE_CONSTRAINT_COMMITHOOK) return "zmiany przerwał wcześniejszy błąd zapisu na dysku";
    switch (code & 0xFF) {
    case SQLITE_FULL: return "brak miejsca na dysku";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "plik jest zablokowany przez inny program";
    case SQLITE_READONLY: return "brak uprawnień do zapisu";
    case SQLITE_NOTADB: return IsJetDatabase(path) ? kJetDatabaseCause : "to nie jest plik bazy danych";
    case SQLITE_CORRUPT: return "plik bazy jest uszkodzony";
    case SQLITE_CANTOPEN:
        if (JournalNameTooLong(path)) return NameTooLongCause();
        return "nie można otworzyć pliku";
    case SQLITE_IOERR: return "błąd odczytu lub zapisu na dysku";
    case SQLITE_NOMEM: return "brak pamięci";
    case SQLITE_CONSTRAINT: return "dane naruszają ograniczenie zapisane w pliku przez inny program";
    default: return std::nullopt;
    }
}

std::string WithDetail(const std::string& cause, const std::exception& error)
{
    return cause + " (komunikat silnika: " + error.what() + ")";
}

}  // namespace

std::string NameTooLongCause()
{
    return std::string("nazwa pliku jest za długa: na czas zmian obok pliku powstaje plik o nazwie dłuższej o „") +
           kJournalSuffix + "”, a tak długiej nazwy system plików nie dopuszcza; skróć nazwę pliku";
}

bool IsJetDatabase(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char header[19] = {};
    if (!in.read(header, sizeof header)) return false;
    const std::string bytes(header, sizeof header);
    return bytes.compare(0, 4, std::string("\x00\x01\x00\x00", 4)) == 0 &&
           (bytes.compare(4, 15, "Standard Jet DB") == 0 || bytes.compare(4, 15, "Standard ACE DB") == 0);
}

bool JournalNameTooLong(const std::string& path)
{
    const std::filesystem::path file(path);
    const std::string folder = file.has_parent_path() ? file.parent_path().string() : std::string(".");
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const auto longest = static_cast<std::size_t>(limit > 0 ? limit : NAME_MAX);
    return file.filename().string().size() + std::char_traits<char>::length(kJournalSuffix) > longest;
}

std::string FailureCause(const std::exception& error, const std::string& path)
{
    if (dynamic_cast<const StructureError*>(&error)) return error.what();
    if (const auto* engineError = dynamic_cast<const engine::EngineError*>(&error)) {
        const int code = engineError->sqliteCode();
        if (const auto cause = SystemCause(engineError->systemErrno(), (code & 0xFF) == SQLITE_CANTOPEN)) return *cause;
        if (const auto cause = SqliteCause(code, path)) return *cause;
        if (dynamic_cast<const engine::VariantError*>(&error))
            return WithDetail("wartość jednego z pól nie pasuje do typu nowego pola", error);
        return WithDetail("błąd silnika bazy danych", error);
    }
    // The components' own failures are told in Polish already.
    if (dynamic_cast<const TovaskADODB::EDatabaseError*>(&error)) return error.what();
    if (const auto* systemError = dynamic_cast<const std::system_error*>(&error))
        if (systemError->code().category() == std::generic_category() ||
            systemError->code().category() == std::system_category())
            if (const auto cause = SystemCause(systemError->code().value(), true)) return *cause;
    return WithDetail("nieoczekiwany błąd", error);
}

}  // namespace patch
