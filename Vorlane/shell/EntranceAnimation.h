#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>

class QAbstractAnimation;
class QParallelAnimationGroup;
class QWidget;

// How the onboarding's parts come into view: each rises 60 points into its place and fades in,
// one after another, 50 ms apart, settling like a spring (stiffness 50, damping 10, mass 1, let
// go from rest). Until its turn comes a part stays out of sight at its starting place.
class EntranceAnimation : public QObject
{
    Q_OBJECT

public:
    static constexpr int rise = 60;
    static constexpr int staggerMs = 50;
    static constexpr int fadeMs = 250;
    // How long the spring takes to come to rest: its swing has shrunk below a thousandth.
    static int settlingMs();
    // The spring's way from 0 to 1 over the settling time, as an easing curve: it overshoots
    // by about 4 per cent and comes back.
    static qreal springProgress(qreal progress);

    // Starts at once; the parts must be where they belong (laid out) when it starts.
    EntranceAnimation(const QList<QWidget*>& parts, QObject* parent = nullptr);
    ~EntranceAnimation() override;

    QAbstractAnimation* animation() const;
    bool isFinished() const { return m_finished; }

Q_SIGNALS:
    void finished();

private:
    void restore();

    struct Part
    {
        QPointer<QWidget> view;
        QPoint place;
    };
    QList<Part> m_parts;
    QParallelAnimationGroup* m_group;
    bool m_finished = false;
};
