#include "ButtonsViewController.h"

#include "ButtonSegmentedControl.h"
#include "FilesViewType.h"
#include "IconButton.h"
#include "ui_ButtonsViewController.h"

#include <QEvent>
#include <QHBoxLayout>

ButtonsViewController::ButtonsViewController(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::ButtonsViewController>())
    , m_prefButton(new IconButton)
{
    m_prefButton->setGeometry(64, 7, 22, 23);
    ui->setupUi(this);
    viewDidLoad();
}

ButtonsViewController::~ButtonsViewController()
{
    if (m_anchor)
        m_anchor->removeEventFilter(this);
    if (parentWidget())
        parentWidget()->removeEventFilter(this);
}

ButtonSegmentedControl* ButtonsViewController::toggleViewTypeSC() const
{
    return ui->toggleViewTypeSC;
}

void ButtonsViewController::viewDidLoad()
{
    setObjectName(QStringLiteral("ButtonsViewController"));
    setFixedSize(width, height);
    layoutButtons();
    ui->toggleViewTypeSC->setSelectedSegment(
        FilesViewType::stored() == FilesViewType::Kind::list ? 0 : 1);
    connect(ui->toggleViewTypeSC, &ButtonSegmentedControl::segmentActivated, this,
            &ButtonsViewController::viewTypeSelected);
}

void ButtonsViewController::layoutButtons()
{
    // |-17-[switch(41)][preferences(22)]-10-| across, both full height but a 6-point bottom
    // margin: 17 + 41 + 22 + 10 make the toolbar's 90 points.
    delete layout();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(17, 0, 10, 6);
    row->setSpacing(0);
    ui->toggleViewTypeSC->setFixedWidth(41);
    m_prefButton->setFixedWidth(22);
    row->addWidget(ui->toggleViewTypeSC);
    row->addWidget(m_prefButton);
}

void ButtonsViewController::pinToBottomRight(QWidget* anchor)
{
    if (m_anchor)
        m_anchor->removeEventFilter(this);
    m_anchor = anchor;
    if (m_anchor)
        m_anchor->installEventFilter(this);
    // The pane holding the toolbar may move inside the anchor (the left pane shows or hides).
    if (parentWidget())
        parentWidget()->installEventFilter(this);
    place();
}

void ButtonsViewController::place()
{
    if (!m_anchor || !parentWidget())
        return;
    const QPoint corner = m_anchor->mapTo(window(), m_anchor->rect().bottomRight());
    const QPoint inParent = parentWidget()->mapFrom(window(), corner);
    setGeometry(inParent.x() - width + 1, inParent.y() - height + 1, width, height);
}

bool ButtonsViewController::eventFilter(QObject* watched, QEvent* event)
{
    const bool watchedView = watched == m_anchor || watched == parentWidget();
    if (watchedView && (event->type() == QEvent::Resize || event->type() == QEvent::Move ||
                        event->type() == QEvent::LayoutRequest))
        place();
    return QWidget::eventFilter(watched, event);
}
