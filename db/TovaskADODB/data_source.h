#pragma once

namespace TovaskADODB {

class TTovaskADOTable;

// The link a detail dataset follows to its master.
struct TDataSource {
    TTovaskADOTable* DataSet = nullptr;
};

}  // namespace TovaskADODB
