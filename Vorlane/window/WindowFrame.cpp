#include "WindowFrame.h"

#include "UserDefaults.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPropertyAnimation>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {
constexpr int animationMs = 180;

QString screenIdentity(const QScreen* screen)
{
    const QString serial = screen->serialNumber();
    if (!serial.isEmpty())
        return screen->manufacturer() + u'/' + screen->model() + u'/' + serial;
    if (!screen->name().isEmpty())
        return screen->name();
    // A display that names nothing is known by its size.
    return QStringLiteral("%1x%2").arg(screen->size().width()).arg(screen->size().height());
}

// FNV-1a: the same number for the same display in every run.
quint32 stableHash(const QString& text)
{
    quint32 hash = 2166136261u;
    for (const char byte : text.toUtf8()) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 16777619u;
    }
    return hash;
}

QString frameText(const QRect& frame)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(frame.x())
        .arg(frame.y())
        .arg(frame.width())
        .arg(frame.height());
}

std::optional<QRect> parseFrame(const QString& text)
{
    const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() != 4)
        return std::nullopt;
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts.at(i).toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (values[2] <= 0 || values[3] <= 0)
        return std::nullopt;
    return QRect(values[0], values[1], values[2], values[3]);
}

// The screen holding the largest part of the frame; null when it lies on none.
QScreen* screenHolding(const QRect& frame)
{
    QScreen* best = nullptr;
    qint64 bestArea = 0;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (QScreen* screen : screens) {
        const QRect part = screen->geometry().intersected(frame);
        const qint64 area = qint64(part.width()) * part.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best;
}

// The frame moved (and, where it must, shrunk) into area, its window's decorations included.
QRect clampedInto(const QRect& area, const QMargins& decorations, QRect frame)
{
    const QRect room = area.marginsRemoved(decorations);
    if (room.width() <= 0 || room.height() <= 0)
        return frame;
    frame.setWidth(std::min(frame.width(), room.width()));
    frame.setHeight(std::min(frame.height(), room.height()));
    frame.moveLeft(std::clamp(frame.left(), room.left(), room.right() + 1 - frame.width()));
    frame.moveTop(std::clamp(frame.top(), room.top(), room.bottom() + 1 - frame.height()));
    return frame;
}

void applyFrame(QWidget* window, const QRect& frame, bool animate)
{
    if (!animate || !window->isVisible()) {
        window->setGeometry(frame);
        return;
    }
    auto* animation = new QPropertyAnimation(window, "geometry", window);
    animation->setDuration(animationMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setEndValue(frame);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}
} // namespace

QScreen* mainScreen()
{
    if (QScreen* pointer = QGuiApplication::screenAt(QCursor::pos()))
        return pointer;
    if (const QWindow* focus = QGuiApplication::focusWindow(); focus && focus->screen())
        return focus->screen();
    return QGuiApplication::primaryScreen();
}

std::optional<quint32> screenNumber(const QScreen* screen)
{
    if (!screen)
        return std::nullopt;
    const QString identity = screenIdentity(screen);
    if (identity.isEmpty())
        return std::nullopt;
    return stableHash(identity);
}

QString frameKey(quint32 number)
{
    return QStringLiteral("NSWindow Frame ") + QString::number(number);
}

bool restoreFrameForScreen(QWidget* window)
{
    const QScreen* screen = mainScreen();
    const std::optional<quint32> number = screenNumber(screen);
    if (!window || !number)
        return false;
    const std::optional<QRect> frame =
        parseFrame(UserDefaults::standard().stringForKey(frameKey(*number)));
    // A frame that no longer meets the display (its resolution shrank) would put the window
    // out of reach; it counts as none, and the window is centred instead.
    if (!frame || !screen->geometry().intersects(*frame))
        return false;
    // A frame partly off the display (or saved under another scale) comes back whole inside the
    // part the panels leave free, title bar and buttons within reach. Decorations are known
    // once the window was shown.
    const QMargins decorations =
        window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    window->setGeometry(clampedInto(screen->availableGeometry(), decorations, *frame));
    return true;
}

void saveFrameForScreen(QWidget* window)
{
    if (!window)
        return;
    const QScreen* screen = screenHolding(window->geometry());
    const std::optional<quint32> number = screenNumber(screen ? screen : window->screen());
    if (!number)
        return;
    UserDefaults::standard().setObject(frameKey(*number), frameText(window->geometry()));
}

void centerOnMainScreen(QWidget* window, bool animate, std::optional<int> width,
                        std::optional<int> height)
{
    const QScreen* screen = mainScreen();
    if (!window || !screen)
        return;
    const int w = width.value_or(window->width());
    const int h = height.value_or(window->height());
    const QRect area = screen->geometry();
    // std::round rounds halves away from zero.
    const int x = static_cast<int>(std::round(area.x() + area.width() * 0.5 - w * 0.5));
    const int y = static_cast<int>(std::round(area.y() + area.height() * 0.5 - h * 0.5));
    applyFrame(window, QRect(x, y, w, h), animate);
}
