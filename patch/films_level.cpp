#include "patch/films_level.h"

#include "db/TovaskADODB/TovaskADODB.h"
#include "patch/failure_cause.h"

namespace patch {

namespace {

const EarlierPatch kEarlierPatches[] = {
    {"AKA", "Tabela %s wymaga patcha qlt_1.2.1.0-01_v."},
    {"SUBTYPE", "Tabela %s wymaga patcha qlt_1.2.2.6-01_v."},
    {"VideoDVD", "Tabela %s wymaga patcha qlt_1.2.3.9-01_v."},
};

engine::FieldKind RequiredFieldKind(const std::string& tableName, const FieldKindOf& kindOf, const char* name)
{
    const auto kind = kindOf(name);
    if (!kind)
        throw StructureError("tabela " + tableName + " nie ma pola " + name +
                             ": plik zmienił inny program; odtwórz go z kopii zapasowej");
    return *kind;
}

}  // namespace

FilmsLevel ClassifyFilms(const TovaskADODB::TTovaskADOTable& films)
{
    return ClassifyFilms(films.TableName(), [&](const std::string& name) -> std::optional<engine::FieldKind> {
        const auto field = films.FindField(name);
        if (!field) return std::nullopt;
        return field->DataType;
    });
}

FilmsLevel ClassifyFilms(const std::string& tableName, const FieldKindOf& kindOf)
{
    for (const auto& patch : kEarlierPatches)
        if (!kindOf(patch.field)) return {FilmsLevel::LacksEarlierPatch, &patch};

    FilmsLevel level{FilmsLevel::NeedsUpgrade};
    level.jestNotBoolean = RequiredFieldKind(tableName, kindOf, "JEST") != engine::FieldKind::YesNo;
    if (kindOf("T_ORG_S") && RequiredFieldKind(tableName, kindOf, "OCENA") == engine::FieldKind::Text)
        level.kind = FilmsLevel::AtTarget;
    return level;
}

}  // namespace patch
