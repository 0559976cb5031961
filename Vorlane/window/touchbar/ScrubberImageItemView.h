#pragma once

#include "ScrubberItemView.h"

#include <QPixmap>

// A scrubber item that shows one picture, never larger than the item: scaled down to fit,
// keeping its proportions, and placed by its alignment.
class ScrubberImageItemView : public ScrubberItemView
{
    Q_OBJECT

public:
    explicit ScrubberImageItemView(QWidget* parent = nullptr);

    const QPixmap& image() const { return m_image; }
    void setImage(const QPixmap& image);
    Qt::Alignment imageAlignment() const { return m_alignment; }
    void setImageAlignment(Qt::Alignment alignment);
    // Where the picture is drawn, in the item's coordinates.
    QRect imageRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_image;
    Qt::Alignment m_alignment = Qt::AlignCenter;
};
