#pragma once

#include "PreviewPanelController.h"
#include "PreviewPanelDataSource.h"
#include "PreviewPanelDelegate.h"

#include <QWidget>

class DocumentSearchModel;
class QLabel;
class QListView;

// What the files side shows while the user types to find a document: the typed text and how
// many documents it found above the list of them, each with its application's icon, or a line
// saying none matched. While the preview window shows the list's selection, the list controls it.
class DocumentSearchView : public QWidget,
                           public PreviewPanelController,
                           public PreviewPanelDataSource,
                           public PreviewPanelDelegate
{
    Q_OBJECT

public:
    explicit DocumentSearchView(QWidget* parent = nullptr);
    ~DocumentSearchView() override;

    DocumentSearchModel* model() const { return m_model; }
    QListView* list() const { return m_list; }
    // The text typed so far, shown above the results.
    void showTypedText(const QString& text);
    // The selected row; -1 when none.
    int selectedRow() const;
    // Selects the row, scrolled into view; nothing when there is no such row.
    void selectRow(int row);

    bool acceptsPreviewPanelControl(PreviewPanel* panel) override;
    void beginPreviewPanelControl(PreviewPanel* panel) override;
    void endPreviewPanelControl(PreviewPanel* panel) override;
    int numberOfPreviewItems(PreviewPanel* panel) override;
    QUrl previewItemAt(PreviewPanel* panel, int index) override;
    bool handleEvent(PreviewPanel* panel, QEvent* event) override;
    QRect sourceFrameOnScreen(PreviewPanel* panel, const QUrl& item) override;
    QPixmap transitionImage(PreviewPanel* panel, const QUrl& item) override;

Q_SIGNALS:
    // A row was double-clicked.
    void rowActivated(int row);

protected:
    void changeEvent(QEvent* event) override;

private:
    void updateCount();

    DocumentSearchModel* m_model;
    QLabel* m_title;
    QLabel* m_count;
    QListView* m_list;
    QLabel* m_nothingFound;
    QString m_typedText;
    bool m_previewOpen = false;
};
