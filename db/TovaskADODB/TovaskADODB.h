#pragma once
// The module TovaskADODB: the database component, the table component and their helpers.

#include "db/TovaskADODB/clipboard_format.h"
#include "db/TovaskADODB/compaction_folder.h"
#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/split_field_list.h"
#include "db/TovaskADODB/tovask_ado_base.h"
#include "db/TovaskADODB/tovask_ado_table.h"
