#pragma once
#include <string>

#include "db/TovaskADODB/database_error.h"

namespace accessdb {

// An Access file that is not converted, with its cause in Polish.
class EAccessRefused : public TovaskADODB::EDatabaseError {
public:
    using TovaskADODB::EDatabaseError::EDatabaseError;
};

// An Access file that the other program has open.
class EAccessInUse : public EAccessRefused {
public:
    using EAccessRefused::EAccessRefused;
};

}  // namespace accessdb

namespace accessdb {

// The new file's name is taken: nothing is ever written over a file.
class ETargetExists : public TovaskADODB::EDatabaseError {
public:
    using TovaskADODB::EDatabaseError::EDatabaseError;
};

}  // namespace accessdb
