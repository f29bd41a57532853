#include "Artwork.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// The pictures are compiled into this static library; Qt registers such
// resources only when asked to.
static void registerArtResources() {
    Q_INIT_RESOURCE(art);
}

namespace tavlo::widgets {

QPixmap renderArtwork(const ArtworkPiece& piece) {
    static const bool registered = (registerArtResources(), true);
    (void)registered;
    QSvgRenderer renderer(QStringLiteral(":/art/%1.svg").arg(QLatin1String(piece.name)));
    if (!renderer.isValid()) return {};
    QImage image(piece.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(piece.size)));
    painter.end();
    return QPixmap::fromImage(image);
}

}  // namespace tavlo::widgets
