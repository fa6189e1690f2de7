// Any path must survive quoting into a connection string and reading back out,
// and any connection string must parse without fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "db/engine/connection_string.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    (void)engine::dataSourceOf(input);

    const std::string connection =
        "Provider=Microsoft.Jet.OLEDB.4.0;Mode=ReadWrite;Data Source=" + engine::quoteDataSource(input);
    const auto path = engine::dataSourceOf(connection);
    if (!path || *path != input) std::abort();
    // What follows the value must not leak into it.
    const auto followed = engine::dataSourceOf(connection + ";Persist Security Info=False");
    if (!followed || *followed != input) std::abort();
    return 0;
}
