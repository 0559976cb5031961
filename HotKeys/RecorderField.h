#pragma once

#include "HotKeys/LocalEventMonitor.h"
#include "HotKeys/Name.h"
#include "HotKeys/Shortcut.h"

#include <QLineEdit>

#include <functional>
#include <memory>
#include <optional>

class QAction;

namespace HotKeys {

// A search-field-like box for one named shortcut. It shows the shortcut, starts recording
// when it takes the focus, stores the next acceptable key combination and has a clear button.
// While it records, the application's global shortcuts are paused.
class RecorderField : public QLineEdit
{
    Q_OBJECT

public:
    using ChangeCallback = std::function<void(const std::optional<Shortcut>&)>;

    explicit RecorderField(Name name, ChangeCallback onChange = {}, QWidget* parent = nullptr);
    ~RecorderField() override;

    const Name& shortcutName() const { return m_shortcutName; }
    bool canBecomeKey() const { return m_canBecomeKey; }
    bool isRecording() const { return m_eventMonitor != nullptr; }
    // The clear button, shown while there is a shortcut to clear.
    QAction* cancelButton() const { return m_cancelButton; }

    QSize sizeHint() const override;
    // The width that shows its longest text whole beside the clear button, the shortcut or a
    // placeholder in the application's language; at least `minimum`.
    int widthShowingTexts(int minimum) const;

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void showCurrentShortcut();
    void updateCancelButton();
    QString notGrantedHint() const;
    void setCanBecomeKey(bool canBecomeKey);
    void holdOffFocusForOneTurn();
    void startRecording();
    void endRecording();
    void clear();
    void textDidChange();
    void clearFirstResponder();

    bool handleMonitoredEvent(QObject* receiver, QEvent* event);
    bool handleMouseUp(QObject* receiver, QEvent* event);
    bool handleKeyDown(QKeyEvent* event);
    bool rejects(const QKeyEvent* event, const std::optional<Shortcut>& shortcut) const;
    bool clashesWithMenuItem(const Shortcut& shortcut);
    bool refusedAsSystemShortcut(const Shortcut& shortcut);
    void accept(const Shortcut& shortcut);

    const int m_minimumWidth = 130;
    const ChangeCallback m_onChange;
    bool m_canBecomeKey = false;
    std::unique_ptr<LocalEventMonitor> m_eventMonitor;
    const Name m_shortcutName;
    QAction* m_cancelButton = nullptr;
};

} // namespace HotKeys
