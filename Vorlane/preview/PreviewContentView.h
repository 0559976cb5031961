#pragma once

#include <QUrl>
#include <QWidget>

class QKeyEvent;
class QLabel;

// What the preview window shows of one document: the picture of an image, the pages of a PDF,
// the start of a text file, or else a large type icon with the document's name, size,
// modification date and kind. Decoding runs off the UI thread; the window never waits for it.
class PreviewContentView : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewContentView(QWidget* parent = nullptr);
    ~PreviewContentView() override;

    // Shows the document at fileUrl (a local file URL); an empty URL shows nothing.
    void showItem(const QUrl& fileUrl);
    QUrl item() const { return m_item; }

    // Keys the content itself uses (Page Up and Page Down through a PDF's pages). False for
    // every other key, which the preview window handles.
    bool handleKey(QKeyEvent* event);

Q_SIGNALS:
    // The document's content, or its icon page when there is nothing else to show, is on screen.
    void contentShown(const QUrl& fileUrl);

private:
    QUrl m_item;
    QLabel* m_label;
};
