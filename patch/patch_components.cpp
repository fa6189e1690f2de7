#include "patch/patch_components.h"
#include "db/engine/stored_names.h"

namespace patch {

PatchComponents::PatchComponents()
{
    dbFilm.SetVersion("3.6");
    mdbFilmy.SetConnection(&dbFilm);
    mdbFilmy.SetTableName(engine::stored::designLoansTable);
    for (const char* field : {"DATA_W", "DATA_Z", "FILM_ID", "ID_OSOBY"}) mdbFilmy.IndexDefs().Add(field, field);
}

}  // namespace patch
