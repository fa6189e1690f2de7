#include "tools/sample/level.h"

#include <array>

namespace sample {

namespace {

struct LevelInfo {
    Level level;
    std::string_view name;
    std::string_view description;
};

constexpr std::array<LevelInfo, 8> levels{{
    {Level::NoAka, "no-aka", "films table lacking AKA (needs patch qlt_1.2.1.0-01_v first)"},
    {Level::NoSubtype, "no-subtype", "films table lacking SUBTYPE and LOCATION (needs qlt_1.2.2.6-01_v)"},
    {Level::NoVideoDvd, "no-videodvd",
     "films table lacking VideoDVD, AudioDVD, LangSubTitles (needs qlt_1.2.3.9-01_v)"},
    {Level::ReadyYesNo, "ready-yesno", "ready for this upgrade: old structure, ID_CD key, numeric OCENA, Yes/No JEST"},
    {Level::ReadyLong, "ready-long",
     "ready for this upgrade: FILM_ID key, Long JEST, own ID_CD at 37 and in the loans"},
    {Level::Upgraded, "upgraded", "already at the target level: 44 fields, Text OCENA, ten indexes"},
    {Level::NoLoans, "no-loans", "like ready-yesno, but without the loans table WYPOZYCZ"},
    {Level::NoFilms, "no-films", "another database without a films table (a music collection)"},
}};

constexpr std::array<Level, levels.size()> allLevels = [] {
    std::array<Level, levels.size()> result{};
    for (std::size_t i = 0; i < levels.size(); ++i) result[i] = levels[i].level;
    return result;
}();

const LevelInfo& infoOf(Level level)
{
    for (const auto& info : levels)
        if (info.level == level) return info;
    return levels.front();
}

}  // namespace

std::span<const Level> AllLevels()
{
    return allLevels;
}

std::string_view LevelName(Level level)
{
    return infoOf(level).name;
}

std::string_view LevelDescription(Level level)
{
    return infoOf(level).description;
}

std::optional<Level> LevelNamed(std::string_view name)
{
    for (const auto& info : levels)
        if (info.name == name) return info.level;
    return std::nullopt;
}

}  // namespace sample
