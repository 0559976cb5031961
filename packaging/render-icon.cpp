// render-icon: draws an SVG icon as square PNG files for the icon theme.
// Usage: render-icon SOURCE.svg SIZE OUTPUT.png [SIZE OUTPUT.png ...]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 4 || arguments.size() % 2 != 0) {
        std::fputs("usage: render-icon SOURCE.svg SIZE OUTPUT.png [SIZE OUTPUT.png ...]\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render-icon: cannot read %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    for (qsizetype i = 2; i + 1 < arguments.size(); i += 2) {
        const int size = arguments.at(i).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "render-icon: bad size %s\n", qPrintable(arguments.at(i)));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        if (!image.save(arguments.at(i + 1), "PNG")) {
            std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(arguments.at(i + 1)));
            return 1;
        }
    }
    return 0;
}
