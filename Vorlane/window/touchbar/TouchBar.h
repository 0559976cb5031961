#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

class QHBoxLayout;
class TouchBarDelegate;
class TouchBarItem;

// A touch strip: a row of items made by its delegate, one for each of its default identifiers,
// the first time they are needed. Items whose view may grow (scrubbers) share the width the
// others leave.
class TouchBar : public QWidget
{
    Q_OBJECT

public:
    explicit TouchBar(QWidget* parent = nullptr);
    ~TouchBar() override;

    TouchBarDelegate* delegate() const { return m_delegate; }
    void setDelegate(TouchBarDelegate* delegate) { m_delegate = delegate; }
    const QString& customizationIdentifier() const { return m_customizationIdentifier; }
    void setCustomizationIdentifier(const QString& identifier);
    const QStringList& defaultItemIdentifiers() const { return m_defaultItemIdentifiers; }
    void setDefaultItemIdentifiers(const QStringList& identifiers);
    const QStringList& customizationAllowedItemIdentifiers() const
    {
        return m_customizationAllowedItemIdentifiers;
    }
    void setCustomizationAllowedItemIdentifiers(const QStringList& identifiers);

    // The items, made and laid out on the first call.
    const QList<TouchBarItem*>& items();
    TouchBarItem* itemForIdentifier(const QString& identifier);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void makeItems();

    TouchBarDelegate* m_delegate = nullptr;
    QString m_customizationIdentifier;
    QStringList m_defaultItemIdentifiers;
    QStringList m_customizationAllowedItemIdentifiers;
    QList<TouchBarItem*> m_items;
    bool m_itemsMade = false;
    QHBoxLayout* m_row;
};
