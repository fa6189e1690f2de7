#include "db/TovaskADODB/database_error.h"

namespace TovaskADODB {

void DatabaseError(const std::string& message, const std::string& componentName)
{
    if (componentName.empty()) throw EDatabaseError(message);
    throw EDatabaseError(componentName + ": " + message);
}

void ListIndexError(int position)
{
    DatabaseError("List index out of bounds (" + std::to_string(position) + ")");
}

}  // namespace TovaskADODB
