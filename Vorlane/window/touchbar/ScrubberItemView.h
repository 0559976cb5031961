#pragma once

#include <QWidget>

// One item of a scrubber. The scrubber places it and answers every touch and click on it, so the
// item only draws.
class ScrubberItemView : public QWidget
{
    Q_OBJECT

public:
    explicit ScrubberItemView(QWidget* parent = nullptr);
};
