#pragma once
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace app {

// The window's pictures, drawn from the SVG sources compiled into the program.
QPixmap RenderArtwork(const QString& name, const QSize& size);

QIcon ApplicationIcon();     // 16, 32 and 48 px
QPixmap StartGlyph();        // 18 x 18 green tick
QPixmap CloseGlyph();        // 16 x 16 red cross
QPixmap HeaderCloseGlyph();  // 15 x 15 small cross

}  // namespace app
