#include "ClearConfirmation.h"

#include "VorlaneController.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace {
QStringList appNamesOf(const QList<RecentApp>& apps)
{
    QStringList names;
    for (const RecentApp& app : apps)
        if (!names.contains(app.appName()))
            names << app.appName();
    return names;
}
} // namespace

ClearConfirmation::ClearConfirmation(const RecentApp& app, const QList<RecentApp>& alsoCleared,
                                     QWidget* parent)
    : QMessageBox(parent)
    , m_appName(app.name())
    , m_clearButton(addButton(tr("&Clear"), QMessageBox::DestructiveRole))
{
    setObjectName(QStringLiteral("ClearConfirmation"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setIcon(QMessageBox::Warning);
    setWindowTitle(tr("Clear Recent Documents"));
    setText(tr("Clear the recent documents of %1?").arg(app.appName()));
    QString details = tr("The list of documents %1 opened recently is erased; the documents "
                         "themselves stay where they are. This cannot be undone.")
                          .arg(app.appName());
    const QStringList others = appNamesOf(alsoCleared);
    if (!others.isEmpty())
        details +=
            QStringLiteral("\n\n") + tr("%1 keep their lists in the same place, and lose them too.",
                                        nullptr, int(others.size()))
                                         .arg(QLocale().createSeparatedList(others));
    setInformativeText(details);
    // Names come from desktop entries: never markup.
    setTextFormat(Qt::PlainText);
    if (auto* informative = findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        informative->setTextFormat(Qt::PlainText);
    QPushButton* cancel = addButton(QMessageBox::Cancel);
    // Return and Escape both keep the history: clearing takes a deliberate choice.
    setDefaultButton(cancel);
    setEscapeButton(cancel);
    connect(this, &QMessageBox::buttonClicked, this, &ClearConfirmation::clearWhenAgreed);
}

ClearConfirmation* ClearConfirmation::ask(const RecentApp& app, QWidget* parent, Done done)
{
    VorlaneController& store = VorlaneController::shared();
    auto* box =
        new ClearConfirmation(app, VorlaneController::alsoClearedBy(app, store.recentApps()),
                              parent ? parent->window() : nullptr);
    box->m_done = std::move(done);
    box->open();
    return box;
}

void ClearConfirmation::clearWhenAgreed(QAbstractButton* answer)
{
    if (answer != m_clearButton)
        return;
    // The list may have been rebuilt while the question was open.
    VorlaneController& store = VorlaneController::shared();
    if (const RecentApp* app = store.appNamed(m_appName))
        store.clearFilesInBackground(*app, std::move(m_done));
}
