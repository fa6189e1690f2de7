#pragma once
#include <QFont>

namespace app {

// A font of the window's design at a fixed pixel size. Where the family is not
// installed, the closest installed face of the same kind stands in at the same
// size; the design's geometry never depends on which one it is.
QFont DesignFont(const QString& family, int pixelSize, QFont::StyleHint kind = QFont::SansSerif,
                 QFont::Weight weight = QFont::Normal);

// "Verdana", 11 px: the window's default font.
QFont WindowFont();
// "MS Sans Serif", 8 pt: the header's title.
QFont HeaderFont();

}  // namespace app
