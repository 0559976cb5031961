#pragma once

#include <QPlainTextEdit>

#include <memory>

// The start of a text file: monospace, read-only, scrollable, wrapped at the view's width. It
// takes no keyboard focus: the arrow keys belong to the document lists behind the preview.
class PreviewTextView : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit PreviewTextView(QWidget* parent = nullptr);
    ~PreviewTextView() override;

    // Shows a document filled elsewhere (it must live on this thread); keeps it while shown.
    void showDocument(std::shared_ptr<QTextDocument> document);
    void clearDocument();

    // How far apart tab stops are for this view's font.
    double tabStopDistanceForFont() const;

Q_SIGNALS:
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<QTextDocument> m_document;
};
