#include "db/engine/connection_string.h"

namespace engine {

std::optional<std::string> dataSourceOf(std::string_view connectionString)
{
    constexpr std::string_view key = "Data Source=";
    const auto at = connectionString.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view rest = connectionString.substr(at + key.size());

    if (!rest.empty() && rest.front() == '"') {
        std::string path;
        for (std::size_t i = 1; i < rest.size(); ++i) {
            if (rest[i] != '"') {
                path += rest[i];
            } else if (i + 1 < rest.size() && rest[i + 1] == '"') {
                path += '"';
                ++i;
            } else {
                return path;
            }
        }
        return path;  // no closing quote: the rest of the string
    }
    return std::string(rest.substr(0, rest.find(';')));
}

std::string quoteDataSource(std::string_view path)
{
    if (path.find(';') == std::string_view::npos && (path.empty() || path.front() != '"')) return std::string(path);
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

}  // namespace engine
