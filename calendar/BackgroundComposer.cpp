#include "BackgroundComposer.h"

#include "PaintRoutines.h"

#include <QFontMetrics>
#include <QPainter>

namespace tavlo::calendar {
namespace {

constexpr int kYearPixels = 64;    // 48 pt at 96 dpi
constexpr int kMonthPixels = 120;  // 90 pt

void drawBigNumber(QPainter& painter, const QFont& base, int pixels, const QColor& colour, const QRect& box,
                   int number) {
    QFont font = base;
    font.setFamily(QStringLiteral("Arial Black"));
    font.setPixelSize(pixels);
    painter.setFont(font);
    painter.setPen(colour);
    const QString text = QFontMetrics(font).elidedText(QString::number(number), Qt::ElideRight, box.width());
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text);
}

// The picture at its place in a white bitmap of the control's size.
void placePicture(QImage& placed, QSize size, const TBackgroundStyle& style, qreal ratio) {
    placed = QImage((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    placed.setDevicePixelRatio(ratio);
    placed.fill(Qt::white);
    const QImage& source = style.Picture;
    QPainter painter(&placed);
    if (style.Stretch) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(FitPictureRect(source.width(), source.height(), size.width(), size.height(), style.Center),
                          source);
    } else if (style.Center) {
        painter.drawImage((size.width() - source.width()) / 2, (size.height() - source.height()) / 2, source);
    } else {
        painter.drawImage(0, 0, source);
    }
}

}  // namespace

void ComposeBackground(QImage& back, QImage& picture, QSize size, const QRect& grid, int year, int month,
                       const TBackgroundStyle& style, qreal ratio) {
    back = QImage((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    back.setDevicePixelRatio(ratio);
    back.fill(Qt::white);
    {
        QPainter painter(&back);
        if (style.ShowFrame) {
            painter.setPen(style.ColorShowFrame);
            painter.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1));
        }
        if (style.ShowBackYearMonth) {
            // grid.bottom() / 2 is half the bottom coordinate, so the two boxes overlap.
            const int left = grid.left(), right = grid.left() + grid.width();
            const int bottom = grid.top() + grid.height();
            drawBigNumber(painter, style.Font, kYearPixels, style.ColorBackYear,
                          QRect(QPoint(left, grid.top() + 6), QPoint(right - 1, bottom / 2 + 6 - 1)), year);
            drawBigNumber(painter, style.Font, kMonthPixels, style.ColorBackMonth,
                          QRect(QPoint(left, bottom / 2), QPoint(right - 1, bottom - 1)), month);
        }
    }
    // A picture without area cannot be placed; it is left out.
    if (style.Picture.isNull() || style.Picture.width() == 0 || style.Picture.height() == 0) {
        picture = QImage();
        return;
    }
    placePicture(picture, size, style, ratio);
    BlendPicture(back, picture, style.AlphaBlend);
}

}  // namespace tavlo::calendar
