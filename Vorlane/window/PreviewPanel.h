#pragma once

#include <QList>
#include <QPointer>
#include <QSize>
#include <QWidget>

class PreviewContentView;
class PreviewPanelController;
class PreviewPanelDataSource;
class PreviewPanelDelegate;
class QWindow;

// The preview window: a window of the browsing window that shows one document large, for the
// view whose controller controls it. The controller is its data source (which document) and its
// delegate (the keys that move the view's selection, where the opening grows from). It follows
// the look of the program, remembers its size, sits on every workspace out of the task bar, and
// closes with Space or Escape, when the browsing window hides, or when Vorlane loses the focus.
// Decoding happens in its content view, off the main thread: it never holds the window up.
class PreviewPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize defaultSize{720, 540};
    static constexpr QSize minimumPanelSize{320, 240};
    // The setting the size is kept under.
    static const QString sizeKey;

    // The one panel, made on first use as a window of the browsing window, with which it goes;
    // null while there is no browsing window.
    static PreviewPanel* sharedPreviewPanel();
    static bool sharedPreviewPanelExists();

    ~PreviewPanel() override;

    // Gives control to the first of sender and its parents that accepts it (ending the control
    // of another controller), then shows the panel in front with the keyboard focus, opening
    // from the document's picture in the view when it was closed.
    void orderFront(QObject* sender);
    // Asks the data source for the document again and shows it.
    void reloadData();

    PreviewPanelController* currentController() const { return m_controller; }
    PreviewPanelDataSource* dataSource() const { return m_dataSource; }
    void setDataSource(PreviewPanelDataSource* dataSource) { m_dataSource = dataSource; }
    PreviewPanelDelegate* delegate() const { return m_delegate; }
    void setDelegate(PreviewPanelDelegate* delegate) { m_delegate = delegate; }
    PreviewContentView* contentView() const { return m_content; }

    // A controller that goes away first ends its control: the panel closes.
    static void controllerWillGoAway(PreviewPanelController* controller);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit PreviewPanel(QWidget* browsingWindow);

    PreviewPanelController* controllerFor(QObject* sender);
    void takeControl(PreviewPanelController* controller);
    void endControl();
    // Whether the event puts the window the panel previews from away.
    bool isPutAway(const QEvent* event) const;
    bool handleKey(QKeyEvent* event);
    void placeOnFirstShow();
    void keepAboveTheBrowsingWindow();
    void activate();
    void zoomIn();
    void focusWindowChanged(QWindow* focusWindow);
    void observeTheLook();
    void applyLook();

    PreviewContentView* m_content;
    PreviewPanelController* m_controller = nullptr;
    PreviewPanelDataSource* m_dataSource = nullptr;
    PreviewPanelDelegate* m_delegate = nullptr;
    // The native window whose keys come here first, before any widget inside the content.
    QPointer<QWindow> m_keyWindow;
    QList<quint64> m_lookObservers;
    bool m_placed = false;
    bool m_hasFocus = false;
};
