#include "ui/MyMessage/message_art.h"

#include "ui/MyMessage/message_kinds.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

#include <array>
#include <stdexcept>

// The resource lives in a static library: nothing would pull it into the
// program unless its initialiser is referenced.
static void InitMessageArt()
{
    Q_INIT_RESOURCE(my_message_art);
}

namespace MyMessage {

namespace {

QPixmap RenderSvg(const QString& name, int size)
{
    static const bool initialised = (InitMessageArt(), true);
    (void)initialised;

    QSvgRenderer renderer(QStringLiteral(":/MyMessage/%1.svg").arg(name));
    if (!renderer.isValid()) throw std::runtime_error("Missing message window artwork: " + name.toStdString());
    // Sharp on high-density screens as well.
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const int pixels = qRound(size * ratio);
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

}  // namespace

QPixmap MessagePicturePixmap(std::uint8_t pictureKind)
{
    static const std::array<QString, PictureKindCount> names = {
        QStringLiteral("information"), QStringLiteral("warning"), QStringLiteral("question"), QStringLiteral("error")};
    if (pictureKind >= PictureKindCount) return {};
    return RenderSvg(names[pictureKind], PictureSize);
}

QPixmap ButtonGlyphPixmap(std::uint8_t buttonKind)
{
    // Ok and Tak share the green tick.
    static const std::array<QString, ButtonKindCount> names = {
        QStringLiteral("tick"),   QStringLiteral("cross"), QStringLiteral("help"),  QStringLiteral("tick"),
        QStringLiteral("no"),     QStringLiteral("close"), QStringLiteral("abort"), QStringLiteral("retry"),
        QStringLiteral("ignore"), QStringLiteral("all")};
    if (buttonKind >= ButtonKindCount) return {};
    return RenderSvg(names[buttonKind], GlyphSize);
}

}  // namespace MyMessage
