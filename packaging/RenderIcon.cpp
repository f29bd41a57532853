// tavlo_render_icon SVG SIZE PNG: draws the program's icon at SIZE × SIZE
// pixels for the desktop's icon theme.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs("usage: tavlo_render_icon SVG SIZE PNG\n", stderr);
        return 1;
    }
    const int size = std::atoi(argv[2]);
    QSvgRenderer renderer{QString::fromLocal8Bit(argv[1])};
    if (!renderer.isValid() || size <= 0) {
        std::fprintf(stderr, "tavlo_render_icon: cannot draw %s at %s pixels\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "tavlo_render_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
