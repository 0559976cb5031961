#include "EntranceAnimation.h"

#include <QGraphicsOpacityEffect>
#include <QLayout>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>
#include <QWidget>

#include <cmath>

namespace {
// A spring of stiffness k, damping c and mass m, let go from rest: underdamped, so it swings
// past its place once, a little, and settles.
constexpr double stiffness = 50;
constexpr double damping = 10;
constexpr double mass = 1;
// The part of the distance still to go that counts as at rest.
constexpr double restThreshold = 0.001;

double naturalFrequency()
{
    return std::sqrt(stiffness / mass);
}

double dampingRatio()
{
    return damping / (2 * std::sqrt(stiffness * mass));
}

double decayRate()
{
    return dampingRatio() * naturalFrequency();
}

double settlingSeconds()
{
    return -std::log(restThreshold) / decayRate();
}

// Where the spring is at time t (seconds), 0 at the start, 1 at rest.
double springPosition(double t)
{
    const double zeta = dampingRatio();
    const double dampedFrequency = naturalFrequency() * std::sqrt(1 - zeta * zeta);
    const double envelope = std::exp(-decayRate() * t);
    return 1 - envelope * (std::cos(dampedFrequency * t) +
                           decayRate() / dampedFrequency * std::sin(dampedFrequency * t));
}
} // namespace

int EntranceAnimation::settlingMs()
{
    return static_cast<int>(std::lround(settlingSeconds() * 1000));
}

qreal EntranceAnimation::springProgress(qreal progress)
{
    if (progress >= 1)
        return 1;
    return springPosition(progress * settlingSeconds());
}

EntranceAnimation::EntranceAnimation(const QList<QWidget*>& parts, QObject* parent)
    : QObject(parent)
    , m_group(new QParallelAnimationGroup(this))
{
    QEasingCurve spring;
    spring.setCustomType(&EntranceAnimation::springProgress);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QWidget* view = parts.at(i);
        if (!view)
            continue;
        const QPoint place = view->pos();
        const QPoint start = place + QPoint(0, rise);
        m_parts.append({view, place});
        // Out of sight at its starting place from the first moment, not only when its turn
        // comes.
        auto* fade = new QGraphicsOpacityEffect(view);
        fade->setOpacity(0);
        view->setGraphicsEffect(fade);
        view->move(start);

        auto* move = new QPropertyAnimation(view, "pos");
        move->setStartValue(start);
        move->setEndValue(place);
        move->setDuration(settlingMs());
        move->setEasingCurve(spring);
        auto* appear = new QPropertyAnimation(fade, "opacity");
        appear->setStartValue(0.0);
        appear->setEndValue(1.0);
        appear->setDuration(fadeMs);
        auto* together = new QParallelAnimationGroup;
        together->addAnimation(appear);
        together->addAnimation(move);
        auto* turn = new QSequentialAnimationGroup(m_group);
        turn->addPause(static_cast<int>(staggerMs * i));
        turn->addAnimation(together);
    }
    connect(m_group, &QAbstractAnimation::finished, this, [this] {
        restore();
        m_finished = true;
        Q_EMIT finished();
    });
    m_group->start();
}

EntranceAnimation::~EntranceAnimation()
{
    m_group->stop();
    restore();
}

QAbstractAnimation* EntranceAnimation::animation() const
{
    return m_group;
}

// Each part as it was before: in its place, fully drawn, without the effect that faded it in
// (drawing through it costs every repaint). Parts in a layout go where it says now, which may
// have changed while they moved.
void EntranceAnimation::restore()
{
    QList<QLayout*> layouts;
    for (const Part& part : std::as_const(m_parts)) {
        if (!part.view)
            continue;
        part.view->setGraphicsEffect(nullptr);
        part.view->move(part.place);
        QWidget* parent = part.view->parentWidget();
        if (parent && parent->layout() && !layouts.contains(parent->layout()))
            layouts.append(parent->layout());
    }
    for (QLayout* layout : std::as_const(layouts)) {
        layout->invalidate();
        layout->activate();
    }
}
