#pragma once

#include <QPixmap>
#include <QRect>
#include <QWidget>

class QVariantAnimation;

// The short opening of the preview window: the document's picture grows from where it stands in
// the view to where the preview shows it. A window of its own above the others that takes
// neither the focus nor the mouse, and goes away when it is done; nothing waits for it.
class PreviewZoom : public QWidget
{
    Q_OBJECT

public:
    static constexpr int durationMs = 160;

    // from and to are screen rectangles; parent is the preview window, which outlives it.
    PreviewZoom(const QPixmap& image, const QRect& from, const QRect& to, QWidget* parent);

    QRect from() const { return m_from; }
    QRect to() const { return m_to; }
    void start();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_image;
    QRect m_from;
    QRect m_to;
    QVariantAnimation* m_animation;
};
