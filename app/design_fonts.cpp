#include "app/design_fonts.h"

namespace app {

QFont DesignFont(const QString& family, int pixelSize, QFont::StyleHint kind, QFont::Weight weight)
{
    QFont font(family);
    font.setStyleHint(kind);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

QFont WindowFont()
{
    return DesignFont(QStringLiteral("Verdana"), 11);
}

QFont HeaderFont()
{
    // 8 points at 96 dots per inch.
    return DesignFont(QStringLiteral("MS Sans Serif"), 11);
}

}  // namespace app
