#pragma once

#include <QFrame>

class QAbstractScrollArea;

// The frame around a scrolling list: no border, no insets of its own, so the list's rows start
// exactly where the frame does. It holds one scrolling view, given in the .ui file.
class PaddedScrollView : public QFrame
{
    Q_OBJECT

public:
    static constexpr int padding = 0;

    explicit PaddedScrollView(QWidget* parent = nullptr);

    // The scrolling view it holds, if any.
    QAbstractScrollArea* contentView() const;

protected:
    void childEvent(QChildEvent* event) override;

private:
    static void removeInsets(QAbstractScrollArea* view);
};
