#include "tests/reliability/crash/crash_states.h"

namespace crash {

namespace {

using Keep = DataChoice::Keep;
using Kind = FolderOperation::Kind;

const char* PartName(Part part)
{
    switch (part) {
    case Part::Whole: return "whole";
    case Part::FirstPart: return "its first half only";
    case Part::LastPart: return "its second half only";
    case Part::Zeroed: return "as zeros";
    }
    return "";
}

bool SyncNext(const CrashModel& model)
{
    const FolderOperation* next = model.Next();
    return !next || next->kind == Kind::Sync || next->kind == Kind::SyncAll;
}

}  // namespace

std::vector<CrashState> StatesAt(const CrashModel& model, bool thorough)
{
    const std::size_t made = model.NamesMade();
    const std::size_t durable = model.NamesDurable();
    std::vector<CrashState> states;
    states.push_back({made, {}});
    for (std::size_t kept = durable; kept < made; ++kept) {
        states.push_back({kept, {.othersAll = true}});
        states.push_back({kept, {.othersAll = false}});
    }
    states.push_back({made, {.othersAll = false}});
    if (!SyncNext(model)) return states;

    const auto pairings = [&](const DataChoice& data) {
        states.push_back(
            {made, {.othersAll = true, .file = data.file, .keep = data.keep, .write = data.write, .part = data.part}});
        states.push_back(
            {durable,
             {.othersAll = false, .file = data.file, .keep = data.keep, .write = data.write, .part = data.part}});
        if (thorough) {
            states.push_back(
                {made,
                 {.othersAll = false, .file = data.file, .keep = data.keep, .write = data.write, .part = data.part}});
            states.push_back(
                {durable,
                 {.othersAll = true, .file = data.file, .keep = data.keep, .write = data.write, .part = data.part}});
        }
    };
    for (const int file : model.FilesWithUnsyncedWrites()) {
        pairings({.file = file, .keep = Keep::None});
        pairings({.file = file, .keep = Keep::All});
        const std::size_t writes = model.UnsyncedWrites(file).size();
        for (std::size_t write = 0; write < writes; ++write) {
            for (const Part part : model.PartsOf(file, write))
                pairings({.file = file, .keep = Keep::Only, .write = write, .part = part});
            if (thorough && writes > 1) pairings({.file = file, .keep = Keep::AllBut, .write = write});
        }
    }
    return states;
}

std::string DescribeState(const CrashModel& model, const CrashState& state, const OperationLog& log)
{
    std::string text =
        "cut after operation " + std::to_string(model.Cut()) + " of " + std::to_string(log.operations.size());
    if (model.Cut() > 0) text += " (" + log.operations[model.Cut() - 1].Describe() + ")";
    if (const FolderOperation* next = model.Next()) text += ", before " + next->Describe();
    const std::size_t unsynced = model.NamesMade() - model.NamesDurable();
    if (unsynced > 0) {
        text += "; of the unsynced changes of names";
        for (std::size_t i = model.NamesDurable(); i < model.NamesMade(); ++i)
            text += std::string(i < state.namesKept ? " [kept: " : " [lost: ") + model.NameChange(i).Describe() + "]";
    }
    const DataChoice& data = state.data;
    if (data.file >= 0) {
        const auto& writes = model.UnsyncedWrites(data.file);
        const std::string path = writes.empty() ? std::string("?") : writes.front()->path;
        text += "; of the " + std::to_string(writes.size()) + " unsynced writes to " + path + ": ";
        switch (data.keep) {
        case Keep::All: text += "all"; break;
        case Keep::None: text += "none"; break;
        case Keep::Only: text += "only " + writes.at(data.write)->Describe() + ", " + PartName(data.part); break;
        case Keep::AllBut: text += "all but " + writes.at(data.write)->Describe(); break;
        }
        text += data.othersAll ? "; other files: all their unsynced writes" : "; other files: none";
    } else {
        text += data.othersAll ? "; all unsynced writes" : "; no unsynced write";
    }
    return text;
}

}  // namespace crash
