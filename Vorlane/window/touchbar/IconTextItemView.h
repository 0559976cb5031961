#pragma once

#include "ScrubberItemView.h"

class QLabel;

// A files strip item: the document's icon on the left and its name beside it, cut with an
// ellipsis at the end when the item is too narrow for it.
class IconTextItemView : public ScrubberItemView
{
    Q_OBJECT

public:
    explicit IconTextItemView(QWidget* parent = nullptr);
    IconTextItemView(const QRect& frame, const QPixmap& icon, const QString& text,
                     QWidget* parent = nullptr);

    QLabel* imageView() const { return m_imageView; }
    QLabel* textField() const { return m_textField; }

    // The icon, never taller than the item.
    void setImage(const QPixmap& image);
    // The whole text; the text field shows as much of it as fits.
    const QString& text() const { return m_text; }
    void setText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void elideText();

    QLabel* const m_imageView;
    QLabel* const m_textField;
    QString m_text;
};
