#pragma once
// The films table after the upgrade as the file stores it: names and declared
// types in stored order, written out by hand for the tests to check against.

#include <array>

namespace test_support {

struct DeclaredColumn {
    const char* name;
    const char* type;
};

inline constexpr std::array<DeclaredColumn, 44> kFilmsTargetColumns = {{
    {"FILM_ID", "LONG"},       {"T_ORG", "TEXT(150)"},    {"T_PL", "TEXT(150)"},    {"GATUNEK", "TEXT(100)"},
    {"ROK_PROD", "LONG"},      {"KRAJ", "TEXT(100)"},     {"REZYSER", "TEXT(254)"}, {"SCENARIU", "TEXT(254)"},
    {"ZDJECIA", "TEXT(254)"},  {"AKTORZY", "MEMO"},       {"MUZYKA", "TEXT(254)"},  {"ILOSC_CD", "LONG"},
    {"ROZMIAR", "TEXT(254)"},  {"CVIDEO", "TEXT(150)"},   {"ROZDZIEL", "TEXT(20)"}, {"FPS", "TEXT(20)"},
    {"CZAS", "TEXT(10)"},      {"VBITRATE", "TEXT(20)"},  {"CAUDIO", "TEXT(150)"},  {"SAMPLE_R", "TEXT(20)"},
    {"ABITRATE", "TEXT(20)"},  {"KANALY", "TEXT(50)"},    {"UWAGI", "TEXT(254)"},   {"TLUMACZ", "TEXT(50)"},
    {"OPIS", "MEMO"},          {"DATA_DOD", "DATETIME"},  {"OBEJRZAN", "BIT"},      {"OCENA", "TEXT(5)"},
    {"OKLADKA", "TEXT(3)"},    {"FOTO", "TEXT(255)"},     {"JEST", "LONG"},         {"AKA", "MEMO"},
    {"SUBTYPE", "TEXT(50)"},   {"LOCATION", "TEXT(100)"}, {"VideoDVD", "MEMO"},     {"AudioDVD", "MEMO"},
    {"LangSubTitles", "MEMO"}, {"ID_CD", "LONG"},         {"SER_ID", "LONG"},       {"T_ORG_S", "TEXT(150)"},
    {"T_PL_S", "TEXT(150)"},   {"SERIA", "LONG"},         {"ODCINEK", "LONG"},      {"URL", "TEXT(250)"},
}};

}  // namespace test_support
