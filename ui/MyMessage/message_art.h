#pragma once
// The message window's pictures (listaMsg) and button glyphs (btnImage),
// rendered from the SVG sources compiled into the program.

#include <QPixmap>

#include <cstdint>

namespace MyMessage {

inline constexpr int PictureSize = 48;
inline constexpr int GlyphSize = 16;

// The 48 x 48 picture of a picture kind; a null pixmap for a kind above 3.
QPixmap MessagePicturePixmap(std::uint8_t pictureKind);

// The 16 x 16 glyph of a button kind; a null pixmap for a kind above 9.
QPixmap ButtonGlyphPixmap(std::uint8_t buttonKind);

}  // namespace MyMessage
