#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

// A picture or a PDF page, centred in the view at its own size, and shrunk while the view is
// smaller than it until a picture of the new size arrives. A PDF shows which page it is on.
class PreviewPictureView : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewPictureView(QWidget* parent = nullptr);

    // The picture carries the screen density it was made for.
    void setPicture(const QImage& picture);
    QImage picture() const { return m_picture; }
    // Empty for no label.
    void setPageLabel(const QString& label);
    QString pageLabel() const { return m_pageLabel; }
    // Space kept free around the picture: the edges of a white page stay visible.
    void setMargin(int margin);
    int margin() const { return m_margin; }

Q_SIGNALS:
    void painted();
    // The picture was made for another screen density than the view is on now.
    void densityChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect pictureRect() const;
    void paintPageLabel(QPainter& painter);

    QImage m_picture;
    QString m_pageLabel;
    int m_margin = 0;
    double m_reportedDensity = 0;
};
