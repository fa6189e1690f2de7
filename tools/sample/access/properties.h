#pragma once
// The properties of a table and its columns as MSysObjects.LvProp keeps
// them: "MR2\0", a block of property names, then one block for the table
// and one for each column, each property a typed value.

#include "tools/sample/access/access_table.h"
#include "tools/sample/access/bytes.h"

namespace sample::access {

// Required for every column, AllowZeroLength for Text and Memo columns.
ByteVector TableProperties(const TableDefinition& table);

}  // namespace sample::access
