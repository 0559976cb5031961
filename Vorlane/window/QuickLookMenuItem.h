#pragma once

#include <QString>

class QAction;
class QMenu;

// The files' context menu names the file its preview item shows: the item first titled
// "Preview" is tagged when the menu is asked for, and retitled before each opening.
class QuickLookMenuItem
{
public:
    static constexpr int tag = 1234;
    static QString title();

    // Tags the item titled "Preview", when it has not been already.
    static void tagItem(QMenu* menu);
    // The tagged item; null when the menu has none.
    static QAction* item(const QMenu* menu);
    // The tagged item reads Preview "name".
    static void retitle(QMenu* menu, const QString& fileName);
};
