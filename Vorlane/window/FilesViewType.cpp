#include "FilesViewType.h"

#include "UserDefaults.h"

const QString FilesViewType::key = QStringLiteral("FilesViewType");

FilesViewType::Kind FilesViewType::stored()
{
    const UserDefaults& defaults = UserDefaults::standard();
    if (!defaults.objectIsPresent(key) || defaults.stringForKey(key) == name(Kind::grid))
        return Kind::grid;
    return Kind::list;
}

void FilesViewType::store(Kind kind)
{
    UserDefaults::standard().setObject(key, name(kind));
}

QString FilesViewType::name(Kind kind)
{
    return kind == Kind::grid ? QStringLiteral("grid") : QStringLiteral("list");
}
