#include "patch/access_move.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include "db/TovaskADODB/folder_entries.h"
#include "db/TovaskADODB/same_text.h"
#include "db/access/access_error.h"
#include "db/access/access_file.h"
#include "db/access/lock_file.h"
#include "db/engine/stored_names.h"
#include "patch/table_lookup.h"

namespace patch {

namespace {

using TovaskADODB::FileDescriptor;

constexpr const char* kKeptSuffix = ".oryginal-access";
constexpr const char* kConvertedName = "katalog";
constexpr const char* kLeftoverName = "pozostalosc";

[[noreturn]] void KeptNameTaken(const std::string& keptName)
{
    throw accessdb::ETargetExists("nazwa " + keptName +
                                  ", pod którą program zachowuje oryginał w formacie Access, jest zajęta: przenieś "
                                  "ten plik w inne miejsce lub zmień jego nazwę i uruchom program ponownie");
}

// A file in the catalogue format, by its first bytes.
bool IsCatalogueFile(int folder, const std::string& name)
{
    const FileDescriptor file(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    char header[16] = {};
    return file.valid() && ::read(file.get(), header, sizeof header) == sizeof header &&
           std::memcmp(header, "SQLite format 3", sizeof header) == 0;
}

// Whether two open files hold the same bytes.
bool SameBytes(int a, int b)
{
    std::vector<char> left(1 << 16);
    std::vector<char> right(left.size());
    for (off_t at = 0;; at += static_cast<off_t>(left.size())) {
        const ssize_t got = ::pread(a, left.data(), left.size(), at);
        const ssize_t other = ::pread(b, right.data(), right.size(), at);
        if (got < 0 || other != got) return false;
        if (got == 0) return true;
        if (std::memcmp(left.data(), right.data(), static_cast<std::size_t>(got)) != 0) return false;
    }
}

std::system_error SystemError(int error, const std::string& what)
{
    return {error, std::generic_category(), what};
}

}  // namespace

AccessCatalogue ReadAccessCatalogue(const std::string& path)
{
    const accessdb::AccessFile file(path);
    std::vector<std::string> names;
    for (const auto& table : file.tables()) names.push_back(table.name);
    AccessCatalogue catalogue;
    catalogue.films = FindTable(names, engine::stored::filmsTable);
    catalogue.hasLoans = FindTable(names, engine::stored::loansTable).has_value();
    if (!catalogue.films) return catalogue;
    for (const auto& table : file.tables()) {
        if (table.name != *catalogue.films) continue;
        catalogue.level = ClassifyFilms(table.name, [&](const std::string& name) -> std::optional<engine::FieldKind> {
            for (const auto& field : table.fields)
                if (TovaskADODB::SameText(field.name, name)) return field.kind;
            return std::nullopt;
        });
    }
    return catalogue;
}

std::string KeptOriginalName(const std::string& fileName)
{
    return fileName + kKeptSuffix;
}

std::string KeptNameTooLongCause()
{
    return std::string(
               "nazwa pliku jest za długa: program zachowuje oryginał w formacie Access obok, pod nazwą "
               "dłuższą o „") +
           kKeptSuffix + "”, a tak długiej nazwy system plików nie dopuszcza; skróć nazwę pliku";
}

AccessMove::AccessMove(const std::string& folder, const std::string& fileName)
    : path_(folder + fileName), fileName_(fileName), keptName_(KeptOriginalName(fileName)),
      folder_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (!folder_.valid()) throw SystemError(errno, "nie można otworzyć folderu " + folder);
    struct stat kept {};
    if (::fstatat(folder_.get(), keptName_.c_str(), &kept, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(kept.st_mode) || !IsCatalogueFile(folder_.get(), keptName_)) KeptNameTaken(keptName_);
        keptNameHeldByCatalogue_ = true;
    } else if (errno == ENAMETOOLONG) {
        throw accessdb::EAccessRefused(KeptNameTooLongCause());
    } else if (errno != ENOENT) {
        throw SystemError(errno, "nie można sprawdzić nazwy " + keptName_);
    }
    if (::fstatat(folder_.get(), fileName_.c_str(), &original_, AT_SYMLINK_NOFOLLOW) != 0)
        throw SystemError(errno, "nie można odczytać pliku " + path_);
    if (!S_ISREG(original_.st_mode))
        throw accessdb::EAccessRefused("to nie jest zwykły plik: przenieś go z tego folderu");
    private_.emplace(folder);
}

const std::string& AccessMove::Convert(const accessdb::ConversionHooks& hooks)
{
    converted_ = private_->PathOf(kConvertedName);
    // Its upgrade writes it anew, and what is put in place is synced then.
    accessdb::ConvertAccessFile(path_, converted_, hooks, engine::Durability::Unsynced);
    return converted_;
}

void AccessMove::CheckOriginalUnchanged() const
{
    struct stat now {};
    if (::fstatat(folder_.get(), fileName_.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
        !TovaskADODB::SameFileState(now, original_) || accessdb::accessFileInUse(path_))
        throw accessdb::EAccessInUse(
            "inny program zmienił lub otworzył plik w trakcie przenoszenia: zamknij go i uruchom program ponownie");
}

void AccessMove::SetLeftoverAside()
{
    const FileDescriptor leftover(::openat(folder_.get(), keptName_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    const FileDescriptor made(::openat(private_->Descriptor(), kConvertedName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat compared {};
    if (!leftover.valid() || !made.valid() || ::fstat(leftover.get(), &compared) != 0 ||
        !SameBytes(leftover.get(), made.get()))
        KeptNameTaken(keptName_);
    // Into the private folder, which goes with it: only the very file compared.
    if (::renameat2(folder_.get(), keptName_.c_str(), private_->Descriptor(), kLeftoverName, RENAME_NOREPLACE) != 0)
        KeptNameTaken(keptName_);
    struct stat moved {};
    if (::fstatat(private_->Descriptor(), kLeftoverName, &moved, AT_SYMLINK_NOFOLLOW) != 0 ||
        moved.st_dev != compared.st_dev || moved.st_ino != compared.st_ino) {
        ::renameat2(private_->Descriptor(), kLeftoverName, folder_.get(), keptName_.c_str(), RENAME_NOREPLACE);
        KeptNameTaken(keptName_);
    }
}

void AccessMove::PutInPlace()
{
    if (keptNameHeldByCatalogue_) SetLeftoverAside();
    // The file's rights go with its name, and its bytes are on the disk before
    // any name changes (a catalogue at the target level was never written anew).
    {
        const FileDescriptor converted(
            ::openat(private_->Descriptor(), kConvertedName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (!converted.valid() || ::fchmod(converted.get(), original_.st_mode & 07777) != 0)
            throw SystemError(errno, "nie można nadać praw nowemu plikowi");
        if (::fsync(converted.get()) != 0) throw SystemError(errno, "nie można zapisać nowego pliku na dysk");
    }
    // First the upgraded catalogue takes the kept name, never over anything:
    // a cut here leaves the original under its own name.
    if (::renameat2(private_->Descriptor(), kConvertedName, folder_.get(), keptName_.c_str(), RENAME_NOREPLACE) != 0) {
        const int error = errno;
        if (error == EEXIST)
            throw accessdb::ETargetExists("nazwa " + keptName_ +
                                          " została zajęta w trakcie przenoszenia: przenieś ten "
                                          "plik w inne miejsce i uruchom program ponownie");
        if (error == EINVAL || error == ENOSYS)
            throw accessdb::EAccessRefused(
                "system plików tego folderu nie pozwala bezpiecznie zamienić plików: "
                "przenieś katalogi na dysk lokalny i uruchom program ponownie");
        throw SystemError(error, "nie można przenieść nowego pliku do folderu");
    }
    const auto undo = [&] {
        // Back where it was; should even that fail, the original still has its name.
        ::renameat(folder_.get(), keptName_.c_str(), private_->Descriptor(), kConvertedName);
        ::fsync(folder_.get());
    };
    try {
        if (::fsync(folder_.get()) != 0) throw SystemError(errno, "nie można zapisać folderu");
        CheckOriginalUnchanged();
    } catch (...) {
        undo();
        throw;
    }
    // Then the two trade names in one step: the upgraded catalogue under the
    // file's name, the original under the kept one.
    if (::renameat2(folder_.get(), fileName_.c_str(), folder_.get(), keptName_.c_str(), RENAME_EXCHANGE) != 0) {
        const int error = errno;
        undo();
        if (error == EINVAL || error == ENOSYS)
            throw accessdb::EAccessRefused(
                "system plików tego folderu nie pozwala bezpiecznie zamienić plików: "
                "przenieś katalogi na dysk lokalny i uruchom program ponownie");
        throw SystemError(error, "nie można zamienić plików");
    }
    // Done; a failed sync only leaves the exchange less sure to last a power cut.
    ::fsync(folder_.get());
}

}  // namespace patch
