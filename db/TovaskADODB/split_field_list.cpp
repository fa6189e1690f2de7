#include "db/TovaskADODB/split_field_list.h"

namespace TovaskADODB {

namespace {
bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Trim(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsTrimmed(text[first])) ++first;
    while (last > first && IsTrimmed(text[last - 1])) --last;
    return text.substr(first, last - first);
}
}  // namespace

void SplitFieldList(const std::string& text, std::vector<std::string>& list)
{
    list.clear();
    std::string entry;
    bool pending = false;  // an entry has begun that no separator has ended yet
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ';' || c == '\r' || c == '\n') {
            // A ';' counts as a carriage return, so ";\n" and "\r\n" both end one entry.
            if ((c == ';' || c == '\r') && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            list.push_back(Trim(entry));
            entry.clear();
            pending = false;
        } else {
            entry += c;
            pending = true;
        }
    }
    if (pending) list.push_back(Trim(entry));
}

}  // namespace TovaskADODB
