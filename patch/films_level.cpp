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

engine::FieldKind RequiredFieldKind(const TovaskADODB::TTovaskADOTable& films, const char* name)
{
    const auto field = films.FindField(name);
    if (!field)
        throw StructureError("tabela " + films.TableName() + " nie ma pola " + name +
                             ": plik zmienił inny program; odtwórz go z kopii zapasowej");
    return field->DataType;
}

}  // namespace

FilmsLevel ClassifyFilms(const TovaskADODB::TTovaskADOTable& films)
{
    for (const auto& patch : kEarlierPatches)
        if (!films.FindField(patch.field)) return {FilmsLevel::LacksEarlierPatch, &patch};

    FilmsLevel level{FilmsLevel::NeedsUpgrade};
    level.jestNotBoolean = RequiredFieldKind(films, "JEST") != engine::FieldKind::YesNo;
    if (films.FindField("T_ORG_S") && RequiredFieldKind(films, "OCENA") == engine::FieldKind::Text)
        level.kind = FilmsLevel::AtTarget;
    return level;
}

}  // namespace patch
