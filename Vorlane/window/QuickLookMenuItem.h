#pragma once

#include <QString>

class QAction;
class QMenu;

// The files' context menu names the file its Quick Look item previews: the item first titled
// "Quick Look" is tagged when the menu is asked for, and retitled before each opening.
class QuickLookMenuItem
{
public:
    static constexpr int tag = 1234;

    // Tags the item titled "Quick Look", when it has not been already.
    static void tagItem(QMenu* menu);
    // The tagged item; null when the menu has none.
    static QAction* item(const QMenu* menu);
    // The tagged item reads Quick Look "name".
    static void retitle(QMenu* menu, const QString& fileName);
};
