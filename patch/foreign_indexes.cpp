#include "patch/foreign_indexes.h"

#include <algorithm>

#include "db/TovaskADODB/TovaskADODB.h"
#include "db/TovaskADODB/same_text.h"

namespace patch {

namespace {

std::string Joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const auto& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

std::string Described(const engine::Index& index)
{
    const char* fields = index.fields().size() == 1 ? " na polu " : " na polach ";
    return "„" + index.name() + "”" + fields + Joined(index.fields());
}

}  // namespace

std::string ForeignIndexesCause(const std::string& table, const std::vector<engine::Index>& foreign)
{
    std::vector<std::string> described;
    described.reserve(foreign.size());
    for (const auto& index : foreign) described.push_back(Described(index));
    if (described.size() == 1)
        return "indeks " + described.front() + ", założony poza tym programem, nie pozwala usunąć pola z tabeli " +
               table + "; usuń ten indeks i uruchom program ponownie";
    return "indeksy " + Joined(described) + ", założone poza tym programem, nie pozwalają usunąć pól z tabeli " +
           table + "; usuń te indeksy i uruchom program ponownie";
}

std::string WrongStructureCause(const TovaskADODB::TTovaskADOTable& table, const std::vector<std::string>& ownIndexes)
{
    const std::string& name = table.TableName();
    std::vector<engine::Index> foreign;
    for (const auto& index : table.Connection()->RequireDaoDatabase().tableDef(name).indexes()) {
        const bool own = std::any_of(ownIndexes.begin(), ownIndexes.end(), [&](const std::string& mine) {
            return TovaskADODB::SameText(mine, index.name());
        });
        if (!own) foreign.push_back(index);
    }
    if (foreign.empty())
        return "struktura tabeli " + name +
               " po przebudowie pól nie jest docelowa; sprawdź plik innym programem i uruchom program ponownie";
    return ForeignIndexesCause(name, foreign);
}

}  // namespace patch
