#pragma once
#include <QString>

namespace app {

// The title the program goes by without setting one of its own: the
// executable's name up to its first dot, every letter after the first in
// lower case.
QString ApplicationTitle();
QString ApplicationTitleOf(const QString& executablePath);

}  // namespace app
