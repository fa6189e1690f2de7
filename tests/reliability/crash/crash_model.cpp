#include "tests/reliability/crash/crash_model.h"

#include <algorithm>
#include <stdexcept>

namespace crash {

namespace {

using Kind = FolderOperation::Kind;

constexpr std::size_t kSector = 512;

std::size_t SplitPoint(std::size_t size)
{
    return size / 2 / kSector * kSector;
}

void WriteAt(std::string& bytes, std::int64_t offset, std::string_view data)
{
    const auto at = static_cast<std::size_t>(offset);
    if (bytes.size() < at + data.size()) bytes.resize(at + data.size(), '\0');
    std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

void ApplyWrite(std::string& bytes, const FolderOperation& write, Part part)
{
    const auto size = static_cast<std::size_t>(write.offset);
    switch (write.kind) {
    case Kind::Truncate: bytes.resize(size, '\0'); return;
    case Kind::Grow:
        if (bytes.size() < size) bytes.resize(size, '\0');
        return;
    case Kind::Write: break;
    default: throw std::logic_error("not a write: " + write.Describe());
    }
    const std::string_view data = write.data;
    const std::size_t split = SplitPoint(data.size());
    switch (part) {
    case Part::Whole: WriteAt(bytes, write.offset, data); break;
    case Part::FirstPart: WriteAt(bytes, write.offset, data.substr(0, split)); break;
    case Part::LastPart: WriteAt(bytes, write.offset + static_cast<std::int64_t>(split), data.substr(split)); break;
    case Part::Zeroed: bytes.resize(std::max(bytes.size(), size + data.size()), '\0'); break;
    }
}

}  // namespace

CrashModel::CrashModel(const OperationLog& log) : log_(log), files_(log.folders.size())
{
    for (const auto& [path, inode] : log.initialInodes) {
        const Entry& entry = log.initial.at(path);
        durable_.paths[path] = inode;
        durable_.modes[inode] = entry.mode;
        if (!entry.folder) {
            files_[static_cast<std::size_t>(inode)].synced = std::make_shared<Bytes>(entry.bytes->data());
            files_[static_cast<std::size_t>(inode)].current = files_[static_cast<std::size_t>(inode)].synced;
        }
    }
}

void CrashModel::Apply(Names& names, const FolderOperation& change)
{
    switch (change.kind) {
    case Kind::Create:
    case Kind::Mkdir:
        names.paths[change.path] = change.inode;
        names.modes[change.inode] = change.mode;
        break;
    case Kind::Chmod: names.modes[change.inode] = change.mode; break;
    case Kind::Unlink:
    case Kind::Rmdir: names.paths.erase(change.path); break;
    case Kind::Rename: {
        std::map<std::string, int> moved;
        for (auto it = names.paths.begin(); it != names.paths.end();) {
            const std::string& path = it->first;
            const auto under = [&](const std::string& top) {
                return path == top || (path.size() > top.size() && path.rfind(top + "/", 0) == 0);
            };
            if (under(change.path)) {
                moved[change.path2 + path.substr(change.path.size())] = it->second;
                it = names.paths.erase(it);
            } else if (under(change.path2)) {
                it = names.paths.erase(it);
            } else {
                ++it;
            }
        }
        names.paths.insert(moved.begin(), moved.end());
        break;
    }
    case Kind::Exchange: names.paths = ExchangedNames(names.paths, change.path, change.path2); break;
    default: throw std::logic_error("not a change of names: " + change.Describe());
    }
}

void CrashModel::MakeNamesDurable(std::size_t count)
{
    for (; durableCount_ < count; ++durableCount_) Apply(durable_, *names_[durableCount_]);
}

void CrashModel::Advance()
{
    const FolderOperation& operation = log_.operations.at(cut_++);
    File* file = operation.inode >= 0 ? &files_.at(static_cast<std::size_t>(operation.inode)) : nullptr;
    switch (operation.kind) {
    case Kind::Create:
        file->synced = std::make_shared<Bytes>();
        file->current = file->synced;
        [[fallthrough]];
    case Kind::Mkdir:
    case Kind::Rename:
    case Kind::Exchange:
    case Kind::Unlink:
    case Kind::Rmdir:
    case Kind::Chmod:
        names_.push_back(&operation);
        lastChange_[operation.folder] = names_.size() - 1;
        break;
    case Kind::Write:
    case Kind::Truncate:
    case Kind::Grow: {
        // Edited in place unless an image or the synced state still holds these bytes.
        if (file->current.use_count() > 1) file->current = std::make_shared<Bytes>(file->current->data());
        std::string data = std::move(*file->current).Take();
        ApplyWrite(data, operation, Part::Whole);
        *file->current = Bytes(std::move(data));
        file->unsynced.push_back(&operation);
        break;
    }
    case Kind::Sync:
        if (log_.folders.at(static_cast<std::size_t>(operation.inode))) {
            if (const auto it = lastChange_.find(operation.inode); it != lastChange_.end())
                MakeNamesDurable(std::max(durableCount_, it->second + 1));
        } else {
            file->synced = file->current;
            file->unsynced.clear();
        }
        break;
    case Kind::SyncAll:
        for (auto& each : files_) {
            each.synced = each.current;
            each.unsynced.clear();
        }
        MakeNamesDurable(names_.size());
        break;
    }
}

std::vector<int> CrashModel::FilesWithUnsyncedWrites() const
{
    std::vector<int> files;
    for (std::size_t inode = 0; inode < files_.size(); ++inode)
        if (!files_[inode].unsynced.empty()) files.push_back(static_cast<int>(inode));
    return files;
}

const std::vector<const FolderOperation*>& CrashModel::UnsyncedWrites(int file) const
{
    return files_.at(static_cast<std::size_t>(file)).unsynced;
}

std::vector<Part> CrashModel::PartsOf(int file, std::size_t write) const
{
    const FolderOperation& operation = *UnsyncedWrites(file).at(write);
    std::vector<Part> parts{Part::Whole};
    if (operation.kind != Kind::Write) return parts;
    if (operation.data.size() > kSector) {
        parts.push_back(Part::FirstPart);
        parts.push_back(Part::LastPart);
    }
    const auto end = static_cast<std::size_t>(operation.offset) + operation.data.size();
    if (end > files_.at(static_cast<std::size_t>(file)).synced->data().size()) parts.push_back(Part::Zeroed);
    return parts;
}

SharedBytes CrashModel::Content(int inode, const DataChoice& data) const
{
    const File& file = files_.at(static_cast<std::size_t>(inode));
    if (inode != data.file) return data.othersAll ? file.current : file.synced;
    switch (data.keep) {
    case DataChoice::Keep::All: return file.current;
    case DataChoice::Keep::None: return file.synced;
    case DataChoice::Keep::Only: {
        std::string bytes = file.synced->data();
        ApplyWrite(bytes, *file.unsynced.at(data.write), data.part);
        return std::make_shared<const Bytes>(std::move(bytes));
    }
    case DataChoice::Keep::AllBut: {
        std::string bytes = file.synced->data();
        for (std::size_t i = 0; i < file.unsynced.size(); ++i)
            if (i != data.write) ApplyWrite(bytes, *file.unsynced[i], Part::Whole);
        return std::make_shared<const Bytes>(std::move(bytes));
    }
    }
    return file.current;
}

FolderImage CrashModel::Image(std::size_t namesKept, const DataChoice& data) const
{
    if (namesKept < durableCount_ || namesKept > names_.size()) throw std::logic_error("no such set of names");
    Names names = durable_;
    for (std::size_t i = durableCount_; i < namesKept; ++i) Apply(names, *names_[i]);
    FolderImage image;
    for (const auto& [path, inode] : names.paths) {
        Entry entry;
        entry.folder = log_.folders.at(static_cast<std::size_t>(inode));
        entry.mode = names.modes.at(inode);
        if (!entry.folder) entry.bytes = Content(inode, data);
        image.emplace(path, std::move(entry));
    }
    return image;
}

}  // namespace crash
