#pragma once

#include "RecentApp.h"

#include <QList>
#include <QMessageBox>

#include <functional>

// Asks before an application's recent documents are cleared, naming it and every other
// application whose history goes with it. Window-modal, with no event loop of its own: the clear
// runs when the user agrees, on the entry of the same identity listed then (none, nothing is
// cleared). Deletes itself when answered.
class ClearConfirmation : public QMessageBox
{
    Q_OBJECT

public:
    using Done = std::function<void(bool cleared)>;

    ClearConfirmation(const RecentApp& app, const QList<RecentApp>& alsoCleared, QWidget* parent);

    // Opens the question about the listed entry app over parent's window; done (when given) gets
    // the clear's result, and is not called when the user declines.
    static ClearConfirmation* ask(const RecentApp& app, QWidget* parent, Done done = {});

    QAbstractButton* clearButton() const { return m_clearButton; }

private:
    void clearWhenAgreed(QAbstractButton* answer);

    QString m_appName;
    QAbstractButton* m_clearButton;
    Done m_done;
};
