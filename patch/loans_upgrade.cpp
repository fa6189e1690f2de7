#include "patch/loans_upgrade.h"

namespace patch {

namespace {

constexpr int kIdCdPosition = 5;

void MapLoanRow(const TableRebuild& rebuild, std::vector<engine::Variant>& row)
{
    for (int i = 0; i < kIdCdPosition; ++i) row[i] = rebuild.SnapshotValue(i);
    row[kIdCdPosition] = rebuild.IdCdValue(kIdCdPosition);
}

}  // namespace

const RebuildItems& LoansRebuildItems()
{
    static const RebuildItems items{
        {"FILM_ID", "ID_OSOBY", "DATA_W", "DATA_Z", "ID_CD"},
        {LongColumn("FILM_ID"), LongColumn("ID_OSOBY"), DateTimeColumn("DATA_W"), DateTimeColumn("DATA_Z"),
         YesNoColumn("KASUJ"), LongColumn("ID_CD")},
        {"FILM_ID", "ID_OSOBY", "DATA_W", "DATA_Z", "ID_CD"},
        kIdCdPosition,
        MapLoanRow,
    };
    return items;
}

void UpgradeLoans(PatchHost& host, PatchComponents& components, bool jestNotBoolean)
{
    TableRebuild(host, components, jestNotBoolean, LoansRebuildItems()).Run();
}

}  // namespace patch
