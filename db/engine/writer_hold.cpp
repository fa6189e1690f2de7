#include "db/engine/writer_hold.h"

#include "db/engine/catalogue_file.h"

namespace engine {

WriterHold::WriterHold(const std::string& path) : db_(detail::openCatalogueFile(path))
{
    // IMMEDIATE takes the reserved lock at once: one writer at a time, readers welcome.
    detail::execSql(db_.get(), "BEGIN IMMEDIATE");
}

}  // namespace engine
