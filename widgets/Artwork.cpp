#include "Artwork.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

// The pictures are compiled into this static library; Qt registers such
// resources only when asked to.
static void registerArtResources() {
    Q_INIT_RESOURCE(art);
}

namespace tavlo::widgets {

QPixmap renderArtwork(const ArtworkPiece& piece) {
    return renderArtwork(piece, qApp ? qApp->devicePixelRatio() : 1.0);
}

QPixmap renderArtwork(const ArtworkPiece& piece, qreal devicePixelRatio) {
    static const bool registered = (registerArtResources(), true);
    (void)registered;
    QSvgRenderer renderer(QStringLiteral(":/art/%1.svg").arg(QLatin1String(piece.name)));
    if (!renderer.isValid()) return {};
    // Drawn at the screen's own pixels: scaling a 1× picture up would blur it.
    const qreal ratio = std::max<qreal>(devicePixelRatio, 1);
    QImage image((QSizeF(piece.size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

}  // namespace tavlo::widgets
