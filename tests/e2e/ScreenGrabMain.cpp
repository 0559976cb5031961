// e2e-screen-grab FILE [X Y WIDTH HEIGHT]: saves the X screen, or that part of it, as a PNG.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2 && arguments.size() != 6) {
        std::fputs("usage: e2e-screen-grab FILE [X Y WIDTH HEIGHT]\n", stderr);
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1;
    QPixmap image = screen->grabWindow(0);
    if (arguments.size() == 6)
        image = image.copy(arguments.at(2).toInt(), arguments.at(3).toInt(),
                           arguments.at(4).toInt(), arguments.at(5).toInt());
    return image.save(arguments.at(1)) ? 0 : 1;
}
