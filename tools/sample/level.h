#pragma once
// The patch levels a sample catalogue can be made at.

#include <optional>
#include <span>
#include <string_view>

namespace sample {

enum class Level {
    NoAka,       // films table from before the first earlier patch
    NoSubtype,   // has AKA; lacks SUBTYPE, LOCATION and the third patch's fields
    NoVideoDvd,  // has AKA, SUBTYPE, LOCATION; lacks VideoDVD, AudioDVD, LangSubTitles
    ReadyYesNo,  // the old 37-field structure with a Yes/No JEST: needs this upgrade
    ReadyLong,   // new order with a Long JEST and its own ID_CD at 37: needs this upgrade
    Upgraded,    // already at the 44-field target structure
    NoLoans,     // ReadyYesNo without the loans table
    NoFilms,     // another database: no films table at all
};

std::span<const Level> AllLevels();
std::string_view LevelName(Level level);  // the command-line name
std::string_view LevelDescription(Level level);
std::optional<Level> LevelNamed(std::string_view name);

}  // namespace sample
