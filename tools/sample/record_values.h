#pragma once
// The value a record gives the field that a column's source names.

#include "tools/sample/catalogue_structures.h"
#include "tools/sample/film_record.h"
#include "tools/sample/other_records.h"

namespace sample {

Value ValueOf(const Film& film, FilmSource source);
Value ValueOf(const Loan& loan, LoanSource source);
Value ValueOf(const Person& person, PersonSource source);
Value ValueOf(const Album& album, AlbumSource source);

}  // namespace sample
