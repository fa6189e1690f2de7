#include "patch/failure_cause.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "db/access/access_error.h"
#include "db/engine/engine_error.h"

namespace patch {

const char* const kJetDatabaseCause = "plik bazy Access/Jet, nie katalog w formacie SQLite tego programu";

namespace {

constexpr const char* kJournalSuffix = "-journal";

constexpr const char* kRunAgain = " i uruchom program ponownie";

std::string DiskFullCause()
{
    return std::string("brak miejsca na dysku: zwolnij miejsce") + kRunAgain;
}

std::string DiskErrorCause()
{
    return std::string("błąd odczytu lub zapisu na dysku: sprawdź dysk") + kRunAgain;
}

// opening: the error came from opening a file. Permissions, a missing file or a
// name too long are causes only there; after another call such an errno is
// left over from before.
std::optional<std::string> SystemCause(int error, bool opening)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return DiskFullCause();
    case EIO: return DiskErrorCause();
    default: break;
    }
    if (!opening) return std::nullopt;
    switch (error) {
    case EROFS:
        return "plik leży na nośniku tylko do odczytu: skopiuj folder na dysk z prawem zapisu" + std::string(kRunAgain);
    case EACCES:
    case EPERM: return "brak uprawnień do pliku lub jego folderu: nadaj sobie prawo zapisu" + std::string(kRunAgain);
    case ENAMETOOLONG: return NameTooLongCause();
    case ENOENT: return "plik nie istnieje: sprawdź, czy nie został przeniesiony lub usunięty w trakcie pracy programu";
    default: return std::nullopt;
    }
}

std::optional<std::string> SqliteCause(int code, const std::string& path)
{
    // The engine refuses to commit piecemeal what SQLite rolled back after an error.
    if (code == SQLITE_CONSTRAINT_COMMITHOOK)
        return "zmiany przerwał wcześniejszy błąd zapisu na dysku: sprawdź dysk" + std::string(kRunAgain);
    switch (code & 0xFF) {
    case SQLITE_FULL: return DiskFullCause();
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "plik jest zablokowany przez inny program: zamknij go" + std::string(kRunAgain);
    case SQLITE_READONLY: return "brak uprawnień do zapisu: nadaj sobie prawo zapisu do pliku" + std::string(kRunAgain);
    case SQLITE_NOTADB:
        if (IsJetDatabase(path)) return std::string(kJetDatabaseCause) + ": przenieś go z tego folderu";
        return "to nie jest plik bazy danych: przenieś go z tego folderu";
    case SQLITE_CORRUPT: return "plik bazy jest uszkodzony: odtwórz go z kopii zapasowej";
    case SQLITE_CANTOPEN:
        if (JournalNameTooLong(path)) return NameTooLongCause();
        return "nie można otworzyć pliku: sprawdź, czy istnieje i czy masz do niego dostęp";
    case SQLITE_IOERR: return DiskErrorCause();
    case SQLITE_NOMEM: return "brak pamięci: zamknij inne programy" + std::string(kRunAgain);
    case SQLITE_CONSTRAINT:
        return "dane naruszają ograniczenie zapisane w pliku przez inny program: usuń to ograniczenie lub popraw dane "
               "tamtym programem";
    default: return std::nullopt;
    }
}

// The system's reason for a failed file operation, in Polish, with what to do;
// nullopt for a reason with no advice of its own.
std::optional<std::string> SystemReason(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return "brak miejsca na dysku; zwolnij miejsce" + std::string(kRunAgain);
    case EIO: return "błąd odczytu lub zapisu na dysku; sprawdź dysk" + std::string(kRunAgain);
    case EACCES:
    case EPERM: return "brak uprawnień; nadaj sobie prawo zapisu do folderu" + std::string(kRunAgain);
    case EROFS: return "nośnik tylko do odczytu; skopiuj folder na dysk z prawem zapisu" + std::string(kRunAgain);
    case ENOENT:
    case ENOTDIR:
        return "folder lub plik zniknął w trakcie pracy programu; sprawdź, czy inny program go nie usuwa, i uruchom "
               "program ponownie";
    case EEXIST:
    case EAGAIN:
    case EBUSY: return "inny program zajmuje ten folder; zamknij go" + std::string(kRunAgain);
    case EXDEV:
    case EMLINK:
    case ELOOP:
        return "folder ma nietypową budowę (dowiązania, inny system plików); przenieś katalog do zwykłego folderu";
    case ENAMETOOLONG: return "ścieżka jest za długa; przenieś katalog do folderu o krótszej ścieżce";
    default: return std::nullopt;
    }
}

// The components' messages about a file operation end in the system's own
// text ("...: No such file or directory"): the errno is found again by it.
std::optional<std::string> ComponentSystemCause(const std::string& message)
{
    static const int kErrors[] = {ENOSPC, EDQUOT, EIO,   EACCES, EPERM, EROFS,        ENOENT, ENOTDIR, EEXIST,
                                  EAGAIN, EBUSY,  EXDEV, EMLINK, ELOOP, ENAMETOOLONG, EMFILE, ENFILE};
    for (const int error : kErrors) {
        const std::string text = std::string(": ") + std::strerror(error);
        if (message.size() <= text.size() || message.compare(message.size() - text.size(), text.size(), text) != 0)
            continue;
        const std::string what = message.substr(0, message.size() - text.size());
        if (const auto reason = SystemReason(error)) return what + ": " + *reason;
        return what + ": zamknij inne programy i uruchom program ponownie (komunikat systemu: " + std::strerror(error) +
               ")";
    }
    return std::nullopt;
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

std::string UncarriedFieldCause(const std::string& table, const std::string& field)
{
    return "pole " + field + " tabeli " + table +
           ", dodane innym programem, ma dane, których uaktualnienie nie przenosi: przenieś je w inne miejsce lub "
           "usuń to pole tamtym programem i uruchom program ponownie";
}

std::string BrokenViewCause(const engine::ViewOrTriggerBroken& broken)
{
    const std::string kind = broken.isView() ? "widok" : "wyzwalacz";
    const std::string action = broken.isView() ? "usuń lub popraw widok" : "usuń lub popraw wyzwalacz";
    const std::string field = broken.missingField();
    if (!field.empty())
        return kind + " " + broken.name() + " odwołuje się do pola " + field +
               ", którego nowa struktura nie ma: " + action;
    return kind + " " + broken.name() + " nie działa z nową strukturą tabel: " + action;
}

std::string FailureCause(const std::exception& error, const std::string& path)
{
    if (dynamic_cast<const StructureError*>(&error)) return error.what();
    // The Access reader's refusals are told in Polish, as the user acts on them.
    if (dynamic_cast<const accessdb::EAccessRefused*>(&error) || dynamic_cast<const accessdb::ETargetExists*>(&error))
        return error.what();
    // A failure passed on with the engine's own within: that one knows the cause.
    if (const auto* nested = dynamic_cast<const std::nested_exception*>(&error); nested && nested->nested_ptr()) {
        try {
            nested->rethrow_nested();
        } catch (const std::exception& inner) {
            return FailureCause(inner, path);
        } catch (...) {  // no cause to be had from it; the outer one is told
        }
    }
    if (const auto* broken = dynamic_cast<const engine::ViewOrTriggerBroken*>(&error)) return BrokenViewCause(*broken);
    if (const auto* engineError = dynamic_cast<const engine::EngineError*>(&error)) {
        const int code = engineError->sqliteCode();
        if (const auto cause = SystemCause(engineError->systemErrno(), (code & 0xFF) == SQLITE_CANTOPEN)) return *cause;
        if (const auto cause = SqliteCause(code, path)) return *cause;
        if (dynamic_cast<const engine::VariantError*>(&error))
            return WithDetail("wartość jednego z pól nie pasuje do typu nowego pola: popraw ją tamtym programem",
                              error);
        return WithDetail("błąd silnika bazy danych: zgłoś go autorowi programu", error);
    }
    if (dynamic_cast<const TovaskADODB::EDatabaseError*>(&error)) {
        if (const auto cause = ComponentSystemCause(error.what())) return *cause;
        // The components' own failures are told in Polish already; they are faults of the program.
        return std::string("błąd programu: zgłoś go autorowi programu (") + error.what() + ")";
    }
    if (const auto* systemError = dynamic_cast<const std::system_error*>(&error)) {
        const auto& category = systemError->code().category();
        if (category == std::generic_category() || category == std::system_category()) {
            if (const auto cause = SystemCause(systemError->code().value(), true)) return *cause;
            if (const auto reason = SystemReason(systemError->code().value())) return *reason;
        }
    }
    return WithDetail("nieoczekiwany błąd: zgłoś go autorowi programu", error);
}

}  // namespace patch
