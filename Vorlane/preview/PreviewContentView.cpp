#include "PreviewContentView.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

PreviewContentView::PreviewContentView(QWidget* parent)
    : QWidget(parent)
    , m_label(new QLabel(this))
{
    m_label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
}

PreviewContentView::~PreviewContentView() = default;

void PreviewContentView::showItem(const QUrl& fileUrl)
{
    m_item = fileUrl;
    m_label->setText(fileUrl.fileName());
    QTimer::singleShot(0, this, [this, fileUrl] {
        if (m_item == fileUrl)
            Q_EMIT contentShown(fileUrl);
    });
}

bool PreviewContentView::handleKey(QKeyEvent*)
{
    return false;
}
