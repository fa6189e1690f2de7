#include "patch/films_upgrade.h"

namespace patch {

namespace {

constexpr int kJestPosition = 30;
constexpr int kIdCdPosition = 37;
constexpr int kKeptFields = 37;  // positions 0..36 come over as they are

std::vector<ColumnDef> FilmsStructure()
{
    return {
        LongColumn("FILM_ID"),
        TextColumn("T_ORG", 150),
        TextColumn("T_PL", 150),
        TextColumn("GATUNEK", 100),
        LongColumn("ROK_PROD"),
        TextColumn("KRAJ", 100),
        TextColumn("REZYSER", 254),
        TextColumn("SCENARIU", 254),
        TextColumn("ZDJECIA", 254),
        MemoColumn("AKTORZY"),
        TextColumn("MUZYKA", 254),
        LongColumn("ILOSC_CD"),
        TextColumn("ROZMIAR", 254),
        TextColumn("CVIDEO", 150),
        TextColumn("ROZDZIEL", 20),
        TextColumn("FPS", 20),
        TextColumn("CZAS", 10),
        TextColumn("VBITRATE", 20),
        TextColumn("CAUDIO", 150),
        TextColumn("SAMPLE_R", 20),
        TextColumn("ABITRATE", 20),
        TextColumn("KANALY", 50),
        TextColumn("UWAGI", 254),
        TextColumn("TLUMACZ", 50),
        {"OPIS", engine::FieldKind::Memo, 1, false, true, false},
        DateTimeColumn("DATA_DOD"),
        YesNoColumn("OBEJRZAN"),
        TextColumn("OCENA", 5),
        TextColumn("OKLADKA", 3),
        TextColumn("FOTO", 255),
        LongColumn("JEST"),
        MemoColumn("AKA"),
        TextColumn("SUBTYPE", 50),
        TextColumn("LOCATION", 100),
        MemoColumn("VideoDVD"),
        MemoColumn("AudioDVD"),
        MemoColumn("LangSubTitles"),
        LongColumn("ID_CD"),
        LongColumn("SER_ID"),
        TextColumn("T_ORG_S", 150),
        TextColumn("T_PL_S", 150),
        LongColumn("SERIA"),
        LongColumn("ODCINEK"),
        TextColumn("URL", 250),
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
