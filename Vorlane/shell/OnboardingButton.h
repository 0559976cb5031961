#pragma once

#include <QPushButton>

// The onboarding's "Continue" button: a blue rounded rectangle with its title in white.
class OnboardingButton : public QPushButton
{
    Q_OBJECT

public:
    static constexpr qreal cornerRadius = 6;
    // The title's size; the design's points are device-independent pixels here.
    static constexpr int titlePixelSize = 16;
    static QColor fillColor() { return QColor::fromRgbF(0.11f, 0.55f, 0.95f); }

    explicit OnboardingButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
