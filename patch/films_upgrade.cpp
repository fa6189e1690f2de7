#include "patch/films_upgrade.h"

namespace patch {

namespace {

constexpr int kJestPosition = 30;
constexpr int kIdCdPosition = 37;
constexpr int kKeptFields = 37;  // positions 0..36 come over as they are

std::vector<ColumnDef> FilmsStructure()
{
    return {
        AddLongField("FILM_ID"),
        AddTextField("T_ORG", 150),
        AddTextField("T_PL", 150),
        AddTextField("GATUNEK", 100),
        AddLongField("ROK_PROD"),
        AddTextField("KRAJ", 100),
        AddTextField("REZYSER", 254),
        AddTextField("SCENARIU", 254),
        AddTextField("ZDJECIA", 254),
        AddMemoField("AKTORZY"),
        AddTextField("MUZYKA", 254),
        AddLongField("ILOSC_CD"),
        AddTextField("ROZMIAR", 254),
        AddTextField("CVIDEO", 150),
        AddTextField("ROZDZIEL", 20),
        AddTextField("FPS", 20),
        AddTextField("CZAS", 10),
        AddTextField("VBITRATE", 20),
        AddTextField("CAUDIO", 150),
        AddTextField("SAMPLE_R", 20),
        AddTextField("ABITRATE", 20),
        AddTextField("KANALY", 50),
        AddTextField("UWAGI", 254),
        AddTextField("TLUMACZ", 50),
        {"OPIS", engine::FieldKind::Memo, 1, false, true, false},
        DateTimeField("DATA_DOD"),
        YesNoField("OBEJRZAN"),
        AddTextField("OCENA", 5),
        AddTextField("OKLADKA", 3),
        AddTextField("FOTO", 255),
        AddLongField("JEST"),
        AddMemoField("AKA"),
        AddTextField("SUBTYPE", 50),
        AddTextField("LOCATION", 100),
        AddMemoField("VideoDVD"),
        AddMemoField("AudioDVD"),
        AddMemoField("LangSubTitles"),
        AddLongField("ID_CD"),
        AddLongField("SER_ID"),
        AddTextField("T_ORG_S", 150),
        AddTextField("T_PL_S", 150),
        AddLongField("SERIA"),
        AddLongField("ODCINEK"),
        AddTextField("URL", 250),
    };
}

void MapFilmRow(const TableRebuild& rebuild, std::vector<engine::Variant>& row)
{
    for (int i = 0; i < kKeptFields; ++i) row[i] = rebuild.SnapshotValue(i);
    // A null JEST is an error here, not a 0.
    row[kJestPosition] = ConvertJest(rebuild.JestNotBoolean(), rebuild.SnapshotValue(kJestPosition).toInteger());
    row[kIdCdPosition] = rebuild.IdCdValue(kIdCdPosition);
    for (std::size_t i = kIdCdPosition + 1; i < row.size(); ++i) row[i] = engine::Variant();
}

}  // namespace

std::int32_t ConvertJest(bool jestNotBoolean, std::int32_t value)
{
    if (jestNotBoolean) return value;
    return value == -1 ? 0 : 1;
}

const RebuildItems& FilmsRebuildItems()
{
    static const RebuildItems items{
        {"ID_CD", "T_ORG", "T_PL", "GATUNEK", "FILM_ID", "SER_ID", "T_ORG_S", "T_PL_S", "SERIA", "ODCINEK"},
        FilmsStructure(),
        {"FILM_ID", "T_ORG", "T_PL", "GATUNEK", "ID_CD", "SER_ID", "T_ORG_S", "T_PL_S", "SERIA", "ODCINEK"},
        kIdCdPosition,
        MapFilmRow,
    };
    return items;
}

void UpgradeFilms(PatchHost& host, PatchComponents& components, bool jestNotBoolean)
{
    TableRebuild(host, components, jestNotBoolean, FilmsRebuildItems()).Run();
}

}  // namespace patch
