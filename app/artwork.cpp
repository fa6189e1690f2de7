#include "app/artwork.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <stdexcept>

// A static library's resources are only linked in when referenced.
static void InitArtworkResources()
{
    Q_INIT_RESOURCE(app_art);
}

namespace app {

QPixmap RenderArtwork(const QString& name, const QSize& size)
{
    static const bool initialised = (InitArtworkResources(), true);
    (void)initialised;

    QSvgRenderer renderer(QStringLiteral(":/app/art/") + name + QStringLiteral(".svg"));
    if (!renderer.isValid()) throw std::runtime_error("artwork missing: " + name.toStdString());
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48}) icon.addPixmap(RenderArtwork(QStringLiteral("app_icon"), QSize(size, size)));
    return icon;
}

QPixmap StartGlyph()
{
    return RenderArtwork(QStringLiteral("start_tick"), QSize(18, 18));
}

QPixmap CloseGlyph()
{
    return RenderArtwork(QStringLiteral("close_cross"), QSize(16, 16));
}

QPixmap HeaderCloseGlyph()
{
    return RenderArtwork(QStringLiteral("header_close"), QSize(15, 15));
}

}  // namespace app
