#include "app/files/file_mask.h"

#include <QFile>
#include <QList>
#include <QString>

namespace utils {
namespace {

QList<uint> FoldedCodePoints(std::string_view text)
{
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    return QFile::decodeName(bytes).toCaseFolded().toUcs4();
}

// Iterative matcher with one backtrack point: linear in practice, no recursion
// blow-up on masks like "*a*a*a*b".
bool Match(const QList<uint>& name, const QList<uint>& mask)
{
    qsizetype n = 0;
    qsizetype m = 0;
    qsizetype starMask = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || (mask[m] != '*' && mask[m] == name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

QString UpperName(std::string_view text)
{
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    return QFile::decodeName(bytes).toUpper();
}

}  // namespace

bool MatchesFileMask(std::string_view name, std::string_view mask)
{
    return Match(FoldedCodePoints(name), FoldedCodePoints(mask));
}

bool FileNameLess(std::string_view a, std::string_view b)
{
    const int byUpper = QString::compare(UpperName(a), UpperName(b), Qt::CaseSensitive);
    if (byUpper != 0) return byUpper < 0;
    return a < b;  // names differing only in case: keep a fixed order
}

}  // namespace utils
