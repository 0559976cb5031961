#pragma once

#include <QObject>

// One item of a touch strip, known by its identifier; its view is what the strip shows for it.
class TouchBarItem : public QObject
{
    Q_OBJECT

public:
    explicit TouchBarItem(const QString& identifier, QObject* parent = nullptr);

    const QString& identifier() const { return m_identifier; }
    // What the item is called where the strip's items are listed to people (screen readers).
    const QString& customizationLabel() const { return m_customizationLabel; }
    void setCustomizationLabel(const QString& label);
    // The widget the strip shows; null while the item has none.
    virtual QWidget* view() const = 0;

private:
    QString m_identifier;
    QString m_customizationLabel;
};
