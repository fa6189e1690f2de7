#include "tests/reliability/crash/folder_operations.h"

#include <fcntl.h>

#include <stdexcept>

namespace crash {

namespace {

using crash_log::Call;
using Kind = FolderOperation::Kind;

std::string Parent(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Shown(const std::string& path)
{
    return path.empty() ? "the folder" : path;
}

class Resolver {
public:
    explicit Resolver(OperationLog& log) : log_(log)
    {
        log_.folders.push_back(true);
        names_[""] = 0;
        for (const auto& [path, entry] : log_.initial) {
            const int inode = NewInode(entry.folder);
            names_[path] = inode;
            log_.initialInodes[path] = inode;
        }
    }

    void Take(const IoEvent& event)
    {
        switch (event.call) {
        case Call::Open: Open(event); break;
        case Call::Close: descriptors_.erase(event.fd); break;
        case Call::Dup: descriptors_[event.fd2] = Descriptor(event.fd, event.path); break;
        case Call::Write:
            Add({.kind = Kind::Write,
                 .inode = Descriptor(event.fd, event.path),
                 .path = event.path,
                 .offset = event.a,
                 .data = event.data});
            break;
        case Call::Truncate:
            Add({.kind = Kind::Truncate, .inode = Target(event), .path = event.path, .offset = event.a});
            break;
        case Call::Allocate:
            Add({.kind = Kind::Grow, .inode = Descriptor(event.fd, event.path), .path = event.path, .offset = event.a});
            break;
        case Call::Sync: Add({.kind = Kind::Sync, .inode = Target(event), .path = event.path}); break;
        case Call::SyncAll: Add({.kind = Kind::SyncAll}); break;
        case Call::Rename: Rename(event); break;
        case Call::Exchange: Exchange(event); break;
        case Call::Unlink:
        case Call::Rmdir: Remove(event); break;
        case Call::Mkdir: {
            const int inode = NewInode(true);
            Add({.kind = Kind::Mkdir,
                 .inode = inode,
                 .folder = Named(Parent(event.path)),
                 .path = event.path,
                 .mode = static_cast<unsigned>(event.b) & 07777});
            names_[event.path] = inode;
            break;
        }
        case Call::Chmod:
            Add({.kind = Kind::Chmod,
                 .inode = Target(event),
                 .folder = Named(Parent(event.path)),
                 .path = event.path,
                 .mode = static_cast<unsigned>(event.b) & 07777});
            break;
        case Call::Unsupported: log_.unsupported.push_back(event.data + " (" + Shown(event.path) + ")"); break;
        }
    }

private:
    int NewInode(bool folder)
    {
        log_.folders.push_back(folder);
        return static_cast<int>(log_.folders.size()) - 1;
    }

    void Add(FolderOperation operation) { log_.operations.push_back(std::move(operation)); }

    int Named(const std::string& path) const
    {
        const auto it = names_.find(path);
        if (it == names_.end()) throw std::runtime_error("the recording missed how " + Shown(path) + " came to be");
        return it->second;
    }

    int Descriptor(int fd, const std::string& path) const
    {
        const auto it = descriptors_.find(fd);
        if (it == descriptors_.end())
            throw std::runtime_error("the recording missed the opening of " + Shown(path) + " as descriptor " +
                                     std::to_string(fd));
        return it->second;
    }

    int Target(const IoEvent& event) const
    {
        return event.fd >= 0 ? Descriptor(event.fd, event.path) : Named(event.path);
    }

    void Open(const IoEvent& event)
    {
        int inode = 0;
        if (event.a != 0) {
            if (names_.contains(event.path))
                throw std::runtime_error("the recording missed the removal of " + Shown(event.path));
            inode = NewInode(false);
            Add({.kind = Kind::Create,
                 .inode = inode,
                 .folder = Named(Parent(event.path)),
                 .path = event.path,
                 .mode = static_cast<unsigned>(event.b) & 07777});
            names_[event.path] = inode;
        } else {
            inode = Named(event.path);
            const bool writes = (event.flags & O_ACCMODE) != O_RDONLY;
            if ((event.flags & O_TRUNC) && writes && !log_.folders[inode])
                Add({.kind = Kind::Truncate, .inode = inode, .path = event.path, .offset = 0});
        }
        descriptors_[event.fd] = inode;
    }

    void Rename(const IoEvent& event)
    {
        const int inode = Named(event.path);
        Add({.kind = Kind::Rename,
             .inode = inode,
             .folder = Named(Parent(event.path2)),
             .path = event.path,
             .path2 = event.path2});
        // A folder takes everything below it along.
        std::map<std::string, int> moved;
        for (auto it = names_.begin(); it != names_.end();) {
            const std::string& path = it->first;
            const bool below = path.size() > event.path.size() && path.rfind(event.path + "/", 0) == 0;
            const bool replaced =
                path == event.path2 || (path.size() > event.path2.size() && path.rfind(event.path2 + "/", 0) == 0);
            if (path == event.path || below) {
                moved[event.path2 + path.substr(event.path.size())] = it->second;
                it = names_.erase(it);
            } else if (replaced) {
                it = names_.erase(it);
            } else {
                ++it;
            }
        }
        names_.insert(moved.begin(), moved.end());
    }

    void Exchange(const IoEvent& event)
    {
        Add({.kind = Kind::Exchange,
             .inode = Named(event.path),
             .folder = Named(Parent(event.path2)),
             .path = event.path,
             .path2 = event.path2});
        names_ = ExchangedNames(names_, event.path, event.path2);
    }

    void Remove(const IoEvent& event)
    {
        const int inode = Named(event.path);
        Add({.kind = event.call == Call::Rmdir ? Kind::Rmdir : Kind::Unlink,
             .inode = inode,
             .folder = Named(Parent(event.path)),
             .path = event.path});
        names_.erase(event.path);
    }

    OperationLog& log_;
    std::map<std::string, int> names_;
    std::map<int, int> descriptors_;
};

}  // namespace

bool FolderOperation::ChangesNames() const
{
    switch (kind) {
    case Kind::Create:
    case Kind::Mkdir:
    case Kind::Rename:
    case Kind::Exchange:
    case Kind::Unlink:
    case Kind::Rmdir:
    case Kind::Chmod: return true;
    default: return false;
    }
}

std::string FolderOperation::Describe() const
{
    switch (kind) {
    case Kind::Create: return "create " + path;
    case Kind::Mkdir: return "make folder " + path;
    case Kind::Write:
        return "write " + std::to_string(data.size()) + " bytes at " + std::to_string(offset) + " of " + path;
    case Kind::Truncate: return "truncate " + path + " to " + std::to_string(offset) + " bytes";
    case Kind::Grow: return "allocate " + path + " to " + std::to_string(offset) + " bytes";
    case Kind::Sync: return "sync " + Shown(path);
    case Kind::SyncAll: return "sync everything";
    case Kind::Rename: return "rename " + path + " to " + path2;
    case Kind::Exchange: return "exchange " + path + " with " + path2;
    case Kind::Unlink: return "delete " + path;
    case Kind::Rmdir: return "remove folder " + path;
    case Kind::Chmod: return "set permissions of " + path;
    }
    return "";
}

std::map<std::string, int> ExchangedNames(const std::map<std::string, int>& names, const std::string& one,
                                          const std::string& other)
{
    const auto under = [](const std::string& path, const std::string& top) {
        return path == top || (path.size() > top.size() && path.rfind(top + "/", 0) == 0);
    };
    std::map<std::string, int> exchanged;
    for (const auto& [path, inode] : names) {
        if (under(path, one))
            exchanged[other + path.substr(one.size())] = inode;
        else if (under(path, other))
            exchanged[one + path.substr(other.size())] = inode;
        else
            exchanged[path] = inode;
    }
    return exchanged;
}

OperationLog ResolveOperations(const std::vector<IoEvent>& events, FolderImage initial)
{
    OperationLog log;
    log.initial = std::move(initial);
    Resolver resolver(log);
    for (const auto& event : events) resolver.Take(event);
    return log;
}

}  // namespace crash
