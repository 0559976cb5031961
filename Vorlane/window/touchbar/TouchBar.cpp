#include "TouchBar.h"

#include "TouchBarDelegate.h"
#include "TouchBarItem.h"

#include <QHBoxLayout>

#include <utility>

namespace {
constexpr int barSideMargin = 8;
constexpr int barItemSpacing = 8;
} // namespace

TouchBar::TouchBar(QWidget* parent)
    : QWidget(parent)
    , m_row(new QHBoxLayout(this))
{
    m_row->setContentsMargins(barSideMargin, 0, barSideMargin, 0);
    m_row->setSpacing(barItemSpacing);
    setFocusPolicy(Qt::NoFocus);
}

TouchBar::~TouchBar()
{
    // The items go before the views they may still point at.
    qDeleteAll(std::exchange(m_items, {}));
}

void TouchBar::setCustomizationIdentifier(const QString& identifier)
{
    m_customizationIdentifier = identifier;
    setObjectName(identifier);
}

void TouchBar::setDefaultItemIdentifiers(const QStringList& identifiers)
{
    m_defaultItemIdentifiers = identifiers;
}

void TouchBar::setCustomizationAllowedItemIdentifiers(const QStringList& identifiers)
{
    m_customizationAllowedItemIdentifiers = identifiers;
}

const QList<TouchBarItem*>& TouchBar::items()
{
    if (!m_itemsMade)
        makeItems();
    return m_items;
}

TouchBarItem* TouchBar::itemForIdentifier(const QString& identifier)
{
    for (TouchBarItem* item : items()) {
        if (item->identifier() == identifier)
            return item;
    }
    return nullptr;
}

void TouchBar::showEvent(QShowEvent* event)
{
    items();
    QWidget::showEvent(event);
}

void TouchBar::makeItems()
{
    m_itemsMade = true;
    if (!m_delegate)
        return;
    for (const QString& identifier : std::as_const(m_defaultItemIdentifiers)) {
        TouchBarItem* item = m_delegate->makeItemForIdentifier(this, identifier);
        if (!item)
            continue;
        item->setParent(this);
        m_items.append(item);
        QWidget* view = item->view();
        if (!view)
            continue;
        // Scrubbers take the row's whole height and what width is left; buttons sit centred.
        if (view->sizePolicy().horizontalPolicy() & QSizePolicy::ExpandFlag)
            m_row->addWidget(view, 1);
        else
            m_row->addWidget(view, 0, Qt::AlignVCenter);
        view->show();
    }
}
