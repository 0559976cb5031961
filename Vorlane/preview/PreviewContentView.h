#pragma once

#include "PreviewKind.h"

#include <QSize>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <atomic>
#include <memory>

class PreviewContent;
class PreviewIconPage;
class PreviewPdfDocument;
class PreviewPictureView;
class PreviewTextView;
class QKeyEvent;
class QMovie;
class QStackedLayout;

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

    // What is shown of the current document: nothing until its content has arrived.
    PreviewKind shownKind() const { return m_kind; }
    // The PDF page shown, counted from 0, and the number of pages (0 for other documents).
    int currentPage() const { return m_page; }
    int pageCount() const { return m_pageCount; }
    // Work for the view is still queued or running off the UI thread.
    bool isLoading() const { return m_pendingAnswers > 0; }

Q_SIGNALS:
    // The document's content, or its icon page when there is nothing else to show, is on screen.
    void contentShown(const QUrl& fileUrl);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void requestContent();
    void receive(PreviewContent content);
    void apply(PreviewContent& content);
    void showPage(QWidget* page);
    void showBlank();
    void announceWhenPainted();
    void pagePainted(QWidget* page);
    void turnPage(int page);
    void startAnimation(const QString& path);
    void stopAnimation();
    void fitAnimation();
    void renderAgain();
    QSize contentBox() const;
    QString pageLabel() const;

    QUrl m_item;
    // Counts the documents shown, so that an announcement for an earlier one is not made.
    quint64 m_itemSerial = 0;
    PreviewKind m_kind = PreviewKind::nothing;
    int m_page = 0;
    int m_pageCount = 0;
    QSize m_naturalSize;
    std::shared_ptr<PreviewPdfDocument> m_pdf;
    std::unique_ptr<QMovie> m_movie;
    bool m_shownOnce = false;
    bool m_announcePending = false;
    int m_pendingAnswers = 0;
    // The box and density of the last request, so that a resize to the same size asks nothing.
    QSize m_requestedBox;
    double m_requestedDensity = 0;

    QStackedLayout* m_pages = nullptr;
    QWidget* m_blank = nullptr;
    PreviewPictureView* m_picture = nullptr;
    PreviewTextView* m_text = nullptr;
    PreviewIconPage* m_icon = nullptr;
    QTimer m_renderAgain;
    QTimer m_blankWhileLoading;

    // The latest request; workers compare their own against it and give up when it moved on.
    std::atomic<quint64> m_latestTicket{0};
    QThreadPool m_workers;
};
