#pragma once

#include <QLabel>

// The name of the selected application above its documents, so that whose documents they are
// shows without hovering its icon. A name too long for the pane is cut at its end, the whole
// name in the tool tip.
class SelectedAppTitle : public QLabel
{
    Q_OBJECT

public:
    static constexpr int height = 30;
    static constexpr int leading = 16;

    explicit SelectedAppTitle(QWidget* parent = nullptr);

    // Takes the name of the application selected now.
    void refresh();
    // The whole name, however it is shown.
    const QString& appName() const { return m_appName; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showName();

    QString m_appName;
};
