#include "patch/table_rebuild.h"

#include "db/TovaskADODB/TovaskADODB.h"
#include "patch/failure_cause.h"
#include "patch/foreign_indexes.h"

namespace patch {

TableRebuild::TableRebuild(PatchHost& host, PatchComponents& components, bool jestNotBoolean, const RebuildItems& items)
    : host_(host), components_(components), jestNotBoolean_(jestNotBoolean), items_(items)
{
}

void TableRebuild::Run()
{
    TakeSnapshot();
    auto& table = components_.mdbFilmy;
    for (const auto& name : items_.dropList) table.DropFieldIndexes(name);
    RemoveAllFields();
    AddTargetFields();
    EmptyStoredTable();
    for (const auto& name : items_.indexList) table.IndexDefs().Add(name, name);
    table.CreateIndexes();
    PrepareCopy();
    CopyRows();
    // The user's views and triggers come back only now: a moved row is no new
    // entry. One that no longer works fails this table's upgrade.
    table.Connection()->RequireDaoDatabase().restoreViewsAndTriggers();
}

void TableRebuild::TakeSnapshot()
{
    auto& table = components_.mdbFilmy;
    auto& clone = components_.mdbClone;
    clone.Clone(table);
    host_.TableStarted(table.TableName());
    host_.SetProgressMaximum(clone.RecordCount());
    host_.SetProgressPosition(0);
    table.Close();
    table.IndexDefs().Clear();
}

void TableRebuild::RemoveAllFields()
{
    auto& table = components_.mdbFilmy;
    // The field definitions stay those of the table as it was opened.
    const int count = table.FieldDefs().Count();
    for (int i = 0; i < count; ++i) {
        // A field left behind is not looked at here: the check before the
        // first row is appended finds any structure that is not the target.
        static_cast<void>(table.DeleteField(table.FieldDefs()[i].Name));
    }
}

void TableRebuild::AddTargetFields()
{
    auto& table = components_.mdbFilmy;
    for (const auto& c : items_.target) {
        // A field missing is found by the same check before the copy.
        static_cast<void>(table.AddField(c.name, c.kind, c.size, c.required, c.allowZeroLength, c.primaryKey));
    }
}

void TableRebuild::EmptyStoredTable()
{
    // The snapshot reads the rows from the file: emptying the table sets them
    // aside for it, and the file's transaction guards them. Emptying before
    // the new indexes are made and the table is opened again saves indexing,
    // reading and deleting the old rows once more.
    auto& table = components_.mdbFilmy;
    table.Connection()->AdoConnection().emptyTable(table.TableName());
}

void TableRebuild::PrepareCopy()
{
    auto& table = components_.mdbFilmy;
    // The table is empty by now (EmptyStoredTable).
    table.Open();
    // The copy goes by position: any old field left behind or new field missing
    // would put values into the wrong fields, so stop before the first row is appended.
    CheckTargetStructure();
    components_.mdbClone.First();
}

void TableRebuild::CheckTargetStructure() const
{
    const auto& defs = components_.mdbFilmy.FieldDefs();
    const auto& target = items_.target;
    bool same = defs.Count() == static_cast<int>(target.size());
    for (int i = 0; same && i < defs.Count(); ++i)
        same = defs[i].Name == target[i].name && defs[i].DataType == target[i].kind;
    if (!same) throw StructureError(WrongStructureCause(components_.mdbFilmy, items_.indexList));
}

void TableRebuild::CopyRows()
{
    auto& table = components_.mdbFilmy;
    auto& clone = components_.mdbClone;
    std::vector<engine::Variant> row(items_.target.size());
    for (int number = 1; !clone.Eof(); ++number) {
        try {
            items_.mapRow(*this, row);
            table.AppendRecord(row);
        } catch (const engine::FieldValueError& error) {
            // Nothing is written in a form its field cannot hold: the file is refused.
            throw StructureError(ValueNotCarriedCause(error, number));
        } catch (const engine::VariantError& error) {
            throw StructureError(ValueNotCarriedCause(error, number));
        }
        host_.StepProgress();
        clone.Next();
        host_.ProcessPendingMessages();
    }
    clone.Close();
    table.Close();
}

std::string TableRebuild::RowDescription(int number) const
{
    std::string text = "w wierszu " + std::to_string(number) + " tabeli " + components_.mdbFilmy.TableName();
    // The row's key, where its first field holds a number.
    const auto& clone = components_.mdbClone;
    if (clone.FieldDefs().Count() > 0) {
        const auto& key = SnapshotValue(0);
        if (key.type() == engine::VariantType::Integer)
            text += " (" + clone.FieldDefs()[0].Name + " " + std::to_string(key.integer()) + ")";
    }
    return text;
}

std::string TableRebuild::ValueNotCarriedCause(const engine::FieldValueError& error, int number) const
{
    using Problem = engine::FieldValueError::Problem;
    std::string what;
    switch (error.problem()) {
    case Problem::NotText: what = "nie jest poprawnym tekstem (zawiera bajty spoza UTF-8)"; break;
    case Problem::TooLong: what = "jest dłuższa, niż pole dopuszcza"; break;
    case Problem::ZeroLength: what = "jest pustym tekstem, którego pole nie dopuszcza"; break;
    case Problem::Null: what = "jest pusta, a pole jest wymagane"; break;
    case Problem::Mismatch: what = "nie pasuje do typu pola"; break;
    }
    return "wartość pola " + error.field() + " " + RowDescription(number) + " " + what +
           ", więc nie da się jej przenieść bez zmiany: popraw ją innym programem i uruchom program ponownie";
}

std::string TableRebuild::ValueNotCarriedCause(const engine::VariantError& /*error*/, int number) const
{
    return "jedna z wartości " + RowDescription(number) +
           " nie pasuje do typu nowego pola, więc nie da się jej przenieść bez zmiany: popraw ją innym programem i "
           "uruchom program ponownie";
}

std::int32_t TableRebuild::IdCdValue(int position) const
{
    if (!host_.KeepIdCd()) return 0;
    if (!jestNotBoolean_) return SnapshotInteger(0);
    const std::int32_t own = SnapshotInteger(position);
    return own != 0 ? own : SnapshotInteger(0);
}

const engine::Variant& TableRebuild::SnapshotValue(int position) const
{
    return components_.mdbClone.FieldValue(position);
}

std::int32_t TableRebuild::SnapshotInteger(int position) const
{
    return components_.mdbClone.FieldAsInteger(position);
}

}  // namespace patch
