// Writes the access fuzzer's seed files into the folder given: small Access
// files made by the sample writer, between them every column type, nulls,
// indexes, texts in both stored forms and long values inline, on one page
// and on a chain of pages. Each under 50 KB.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/sample/access/access_file.h"

namespace sa = sample::access;
using T = sa::ColumnType;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: access_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];

    const sa::TableDefinition notes{"Notatki", {{"Nr", T::Long, 0, true, true, true}, {"Tekst", T::Memo}}, {}};
    sa::WriteAccessFile(folder + "/notatki.mdb", {{notes,
                                                   {{std::int64_t{1}, "krótka, zażółć gęślą jaźń"},
                                                    {std::int64_t{2}, std::string(1500, 'd')},
                                                    {std::int64_t{3}, std::string(2500, 'l')},
                                                    {std::int64_t{4}, {}}}}});

    sa::Column text{"Tytuł", T::Text, 50};
    sa::Column plain{"Oryginał", T::Text, 20};
    plain.compressedUnicode = false;
    const sa::TableDefinition every{"Wszystko",
                                    {{"Id", T::Long, 0, true, true, true},
                                     text,
                                     plain,
                                     {"Jest", T::YesNo},
                                     {"Bajt", T::Byte},
                                     {"Rok", T::Integer},
                                     {"Cena", T::Currency},
                                     {"Ocena", T::Single},
                                     {"Waga", T::Double},
                                     {"Data", T::DateTime},
                                     {"Kod", T::Binary, 8},
                                     {"Obraz", T::Ole},
                                     {"Znak", T::Guid}},
                                    {{"PrimaryKey", {"Id"}, true, true}, {"TytułRok", {"Tytuł", "Rok"}, false, false}}};
    std::vector<std::vector<sa::Value>> rows;
    rows.push_back({std::int64_t{1}, "Rejs", "Cruise", true, std::int64_t{7}, std::int64_t{1970}, sa::Currency{123456},
                    2.5, 1e-3, sa::MakeDateTime(1970, 1, 19, 12, 30, 15), sa::Binary{1, 2, 3}, sa::Binary(200, 0xAB),
                    sa::GuidFromText("{12345678-9ABC-DEF0-1234-56789ABCDEF0}")});
    rows.push_back({std::int64_t{2}, {}, {}, false, {}, {}, {}, {}, {}, {}, {}, {}, {}});
    sa::WriteAccessFile(folder + "/wszystko.mdb", {{every, rows}});

    // An empty table with a unique index.
    const sa::TableDefinition empty{"Pusta", {{"Nr", T::Integer}}, {{"Nr", {"Nr"}, false, true}}};
    sa::WriteAccessFile(folder + "/pusta.mdb", {{empty, {}}});
    return 0;
}
