#pragma once

#include "PreviewFileFacts.h"

#include <QIcon>
#include <QStringList>
#include <QWidget>

// A document the preview cannot show, or cannot show any more: a large icon of its type, its
// name, and below it its kind, size and modification date as far as they are known.
class PreviewIconPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int iconSize = 128;

    explicit PreviewIconPage(QWidget* parent = nullptr);

    void setFacts(const PreviewFileFacts& facts);
    // The lines under the icon: the name first.
    QStringList lines() const { return m_lines; }

Q_SIGNALS:
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QIcon iconFor(const PreviewFileFacts& facts);
    static QStringList linesFor(const PreviewFileFacts& facts);

    QIcon m_icon;
    QStringList m_lines;
};
