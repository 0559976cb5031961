#include "HotKeys/MenuClashSearch.h"

#include "HotKeys/HotKeys.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

namespace HotKeys {
namespace {

class Search
{
public:
    Search(const Shortcut& shortcut, const QString& ownName)
        : m_shortcut(shortcut)
        , m_ownName(ownName)
    {}

    QAction* inActions(const QList<QAction*>& actions)
    {
        for (QAction* action : actions) {
            if (QAction* found = inAction(action))
                return found;
        }
        return nullptr;
    }

private:
    QAction* inAction(QAction* action)
    {
        if (!action || m_visited.contains(action))
            return nullptr;
        m_visited.insert(action);
        if (clashes(action))
            return action;
        if (QMenu* submenu = action->menu())
            return inActions(submenu->actions());
        return nullptr;
    }

    bool clashes(const QAction* action) const
    {
        if (boundShortcutName(action) == m_ownName)
            return false;
        for (const QKeySequence& sequence : action->shortcuts()) {
            if (sequence.count() == 1 && Shortcut::fromQtCombination(sequence[0]) == m_shortcut)
                return true;
        }
        return false;
    }

    Shortcut m_shortcut;
    QString m_ownName;
    QSet<QAction*> m_visited;
};

} // namespace

QAction* MenuClashSearch::findClash(const Shortcut& shortcut, const QString& ownName)
{
    Search search(shortcut, ownName);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        for (QMenuBar* bar : window->findChildren<QMenuBar*>()) {
            if (QAction* found = search.inActions(bar->actions()))
                return found;
        }
    }
    for (QWidget* window : windows) {
        if (QAction* found = search.inActions(window->actions()))
            return found;
        for (QWidget* child : window->findChildren<QWidget*>()) {
            if (QAction* found = search.inActions(child->actions()))
                return found;
        }
    }
    return nullptr;
}

QString MenuClashSearch::title(const QAction* action)
{
    QString text = action->text();
    QString plain;
    for (qsizetype index = 0; index < text.size(); ++index) {
        // "&&" is a literal ampersand; a single one marks the mnemonic.
        if (text.at(index) == u'&' && index + 1 < text.size())
            ++index;
        plain += text.at(index);
    }
    return plain;
}

} // namespace HotKeys
